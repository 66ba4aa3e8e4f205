// What the layout loader needs of the window it builds, kept in the window: its class
// name, the fields and handlers it publishes, and the components the layout creates. The
// window derives from it; the loader knows the window only through it.
#pragma once

#include "shell/Components.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

using THandler = std::variant<TNotifyEvent, TKeyEvent, TMouseMoveEvent>;

class LayoutTarget {
public:
    // Stores the layout's component of a field's name in the field; false when the
    // component is not of the field's class.
    using FieldBinder = std::function<bool(TComponent*)>;
    struct PublishedField {
        FieldBinder bind;
        bool bound = false;
    };

    const std::string& ClassName() const { return className_; }
    // The window itself, the root of its layout.
    TComponent& Root() { return root_; }
    std::map<std::string, PublishedField>& Fields() { return fields_; }
    const std::map<std::string, THandler>& Handlers() const { return handlers_; }
    // Takes ownership of a component the layout created and returns it.
    TComponent* Adopt(std::unique_ptr<TComponent> component)
    {
        components_.push_back(std::move(component));
        return components_.back().get();
    }

protected:
    LayoutTarget(std::string className, TComponent& root) : className_(std::move(className)), root_(root) {}
    ~LayoutTarget() = default;

    // The components the layout created, in the order of creation.
    const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }

    // Publishes a field: the layout's component of that name is stored in it, and must be
    // of the field's class.
    template <class T>
    void PublishField(const std::string& name, T*& field)
    {
        fields_[name].bind = [&field](TComponent* component) {
            field = dynamic_cast<T*>(component);
            return field != nullptr;
        };
    }

    // Publishes a handler; its signature decides which events it can be bound to.
    template <class Form, class... Args>
    void PublishHandler(const std::string& name, void (Form::*method)(TObject*, Args...))
    {
        Form* self = static_cast<Form*>(this);
        handlers_[name] = std::function<void(TObject*, Args...)>(
            [self, method](TObject* sender, Args... args) { (self->*method)(sender, args...); });
    }

private:
    std::string className_;
    TComponent& root_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::map<std::string, PublishedField> fields_;
    std::map<std::string, THandler> handlers_;
};
