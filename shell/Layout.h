// The layout loader and what it knows of each class: how to create it, how to apply each
// of its properties and which children it holds. Every family of classes adds its own part
// of this table (AddXxxClasses, beside the family's code), so that adding a class touches
// one family's file; the windows put the parts together (Forms.cpp).
#pragma once

#include "shell/LayoutTarget.h"

#include <QJsonArray>
#include <QJsonValue>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QImage;
class Loader;

// What a property does with its value, given the component it belongs to.
using Apply = std::function<void(Loader&, TComponent&, const QJsonValue&)>;

struct Property {
    const char* name;
    Apply apply;
};

// Places a child component of the layout in its holder; false when the holder takes no
// child of that kind.
using TakeChild = std::function<bool(TComponent& holder, TComponent& child)>;

struct ClassInfo {
    std::string base;                                    // class whose properties come first
    std::function<std::unique_ptr<TComponent>()> create; // empty for classes a layout cannot create
    std::vector<Property> properties;
    TakeChild takeChild = {}; // empty for classes that hold no children; the base's is asked next
};

using ClassTable = std::map<std::string, ClassInfo>;

// The families' parts of the table.
void AddControlClasses(ClassTable& classes);
void AddButtonClasses(ClassTable& classes);
void AddTextControlClasses(ClassTable& classes);
void AddBoxClasses(ClassTable& classes);
void AddGraphicsClasses(ClassTable& classes);
void AddTimerClasses(ClassTable& classes);
void AddMenuClasses(ClassTable& classes);
void AddDialogClasses(ClassTable& classes);
void AddFormClasses(ClassTable& classes);
void AddTrackBarClasses(ClassTable& classes);

// A family in a library of its own (sound, which brings the sound libraries with it) adds
// its part when a program links it, through one object of this class in its file;
// AddLinkedClasses adds the parts of all that are linked.
struct LinkedFamily {
    explicit LinkedFamily(void (*addClasses)(ClassTable&));
};
void AddLinkedClasses(ClassTable& classes);

// Applies one layout to one window, with the classes of a table; the property appliers
// read their values through it.
class Loader {
public:
    Loader(const ClassTable& classes, LayoutTarget& form, std::string path)
        : classes_(classes), form_(form), path_(std::move(path))
    {
    }

    // Reads the layout embedded under the path and applies it.
    void Load();
    // Applies layout text that is already in memory; the path still names it in messages
    // and is where its pictures are looked up.
    void Apply(const QByteArray& text);

    // Value readers: each raises a layout error when the value has the wrong type.
    int Int(const QJsonValue& value);
    bool Bool(const QJsonValue& value);
    std::string String(const QJsonValue& value);
    // The index of the name a value gives in a list of allowed names.
    int Choice(const QJsonValue& value, const std::vector<std::string>& names);
    // The value a name stands for in an enumeration's table of names.
    template <class T, std::size_t N>
    T Choice(const QJsonValue& value, const NamedValue<T> (&names)[N])
    {
        std::vector<std::string> allowed;
        for (const NamedValue<T>& named : names)
            allowed.push_back(named.name);
        return names[Choice(value, allowed)].value;
    }
    // A set of bits given as a list of the names of its bits; notAList is the message for
    // a value that is no list.
    template <class T, std::size_t N>
    unsigned Flags(const QJsonValue& value, const NamedValue<T> (&names)[N], const char* notAList)
    {
        if (!value.isArray())
            Fail(notAList);
        unsigned bits = 0;
        for (const QJsonValue& name : value.toArray())
            bits |= Choice(name, names);
        return bits;
    }
    QImage Picture(const QJsonValue& value);
    template <class Event>
    Event Handler(const QJsonValue& value, const char* signature)
    {
        const std::string name = String(value);
        const auto found = form_.Handlers().find(name);
        if (found == form_.Handlers().end())
            Fail("у окна " + form_.ClassName() + " нет обработчика " + Quoted(name));
        if (!std::holds_alternative<Event>(found->second))
            Fail("обработчик " + Quoted(name) + " должен иметь вид " + name + signature);
        return std::get<Event>(found->second);
    }
    // A reference to another component of the layout, resolved once all exist.
    void Later(std::function<void()> resolve) { references_.push_back({node_, property_, std::move(resolve)}); }
    TComponent* Created(const std::string& name);

    [[noreturn]] void Fail(const std::string& what);

private:
    void Build(const QJsonObject& node, TComponent* parent, const std::string& parentClass);
    void ApplyProperties(const QJsonObject& node, TComponent& component, const std::string& className);
    void Attach(TComponent& child, const std::string& childClass, TComponent& parent, const std::string& parentClass);
    void BindField(const std::string& name, TComponent& component);

    const ClassTable& classes_;
    LayoutTarget& form_;
    std::string path_;
    std::string node_;
    std::string property_;
    std::map<std::string, TComponent*> created_;
    struct Reference {
        std::string node, property;
        std::function<void()> resolve;
    };
    std::vector<Reference> references_;
};

template <class T>
Property IntProperty(const char* name, void (T::*set)(int))
{
    return {name, [set](Loader& l, TComponent& c, const QJsonValue& v) { (static_cast<T&>(c).*set)(l.Int(v)); }};
}

template <class T>
Property BoolProperty(const char* name, void (T::*set)(bool))
{
    return {name, [set](Loader& l, TComponent& c, const QJsonValue& v) { (static_cast<T&>(c).*set)(l.Bool(v)); }};
}

template <class T>
Property TextProperty(const char* name, void (T::*set)(const std::string&))
{
    return {name, [set](Loader& l, TComponent& c, const QJsonValue& v) { (static_cast<T&>(c).*set)(l.String(v)); }};
}

template <class T, class Value, std::size_t N>
Property ChoiceProperty(const char* name, void (T::*set)(Value), const NamedValue<Value> (&names)[N])
{
    return {name, [set, &names](Loader& l, TComponent& c, const QJsonValue& v) {
                (static_cast<T&>(c).*set)(l.Choice(v, names));
            }};
}

// A set of bits: a list of the names of its bits; notAList is the message for a value
// that is no list.
template <class T, class Bit, std::size_t N>
Property FlagsProperty(const char* name, void (T::*set)(unsigned), const NamedValue<Bit> (&names)[N],
                       const char* notAList)
{
    return {name, [set, &names, notAList](Loader& l, TComponent& c, const QJsonValue& v) {
                (static_cast<T&>(c).*set)(l.Flags(v, names, notAList));
            }};
}

template <class T>
Property NotifyProperty(const char* name, TNotifyEvent T::*event)
{
    return {name, [event](Loader& l, TComponent& c, const QJsonValue& v) {
                static_cast<T&>(c).*event = l.Handler<TNotifyEvent>(v, "(TObject* Sender)");
            }};
}
