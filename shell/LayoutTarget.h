// What the layout loader needs of the window it builds: its class name, the fields and
// handlers it publishes, and a place to keep the components it creates. The window
// implements it; the loader and the families' class tables know the window only through it.
#pragma once

#include "shell/Controls.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>

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

    virtual const std::string& ClassName() const = 0;
    // The window itself, the root of its layout.
    virtual TComponent& Root() = 0;
    virtual std::map<std::string, PublishedField>& Fields() = 0;
    virtual const std::map<std::string, THandler>& Handlers() const = 0;
    // Takes ownership of a component the layout created and returns it.
    virtual TComponent* Adopt(std::unique_ptr<TComponent> component) = 0;
    // Chains the keyboard focus through each parent's controls in their TabOrder.
    virtual void ArrangeTabOrder() = 0;

protected:
    ~LayoutTarget() = default;
};
