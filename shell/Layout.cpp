// Applies a window's layout: a JSON tree of components embedded in the program. Each node
// is created by its class, stored in the window's published field of the same name, given
// its properties and event handlers, and placed in its parent. Anything that cannot be
// applied raises Exception naming the layout, the node and the property.
#include "shell/Forms.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include <climits>
#include <cmath>

namespace {

class Loader;

// What a property does with its value, given the component it belongs to.
using Apply = std::function<void(Loader&, TComponent&, const QJsonValue&)>;

struct Property {
    const char* name;
    Apply apply;
};

struct ClassInfo {
    std::string base;                                   // class whose properties come first
    std::function<std::unique_ptr<TComponent>()> create; // empty for classes a layout cannot create
    std::vector<Property> properties;
};

class Loader {
public:
    Loader(TCustomForm& form, std::string path) : form_(form), path_(std::move(path)) {}

    void Load();

    // Value readers: each raises a layout error when the value has the wrong type.
    int Int(const QJsonValue& value);
    bool Bool(const QJsonValue& value);
    std::string String(const QJsonValue& value);
    int Choice(const QJsonValue& value, const std::vector<std::string>& names);
    QImage Picture(const QJsonValue& value);
    template <class Event>
    Event Handler(const QJsonValue& value, const char* signature);
    // A reference to another component of the layout, resolved once all exist.
    void Later(std::function<void()> resolve) { references_.push_back({node_, property_, std::move(resolve)}); }
    TComponent* Find(const std::string& name);

    [[noreturn]] void Fail(const std::string& what);

private:
    void Build(const QJsonObject& node, TComponent* parent);
    void ApplyProperties(const QJsonObject& node, TComponent& component, const std::string& className);
    void Attach(TComponent& child, const std::string& childClass, TComponent* parent);
    void BindField(const std::string& name, TComponent& component);

    TCustomForm& form_;
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

template <class T>
Property NotifyProperty(const char* name, TNotifyEvent T::*event)
{
    return {name, [event](Loader& l, TComponent& c, const QJsonValue& v) {
                static_cast<T&>(c).*event = l.Handler<TNotifyEvent>(v, "(TObject* Sender)");
            }};
}

const std::vector<std::pair<std::string, TColor>>& ColorNames()
{
    static const std::vector<std::pair<std::string, TColor>> names = {
        {"clBtnFace", clBtnFace}, {"clBtnHighlight", clBtnHighlight}, {"clWindow", clWindow},
        {"clWhite", clWhite},     {"clBlack", clBlack},
    };
    return names;
}

const std::map<std::string, ClassInfo>& Classes()
{
    static const std::map<std::string, ClassInfo> classes = {
        {"TForm",
         {"",
          {},
          {
              IntProperty("Left", &TCustomForm::SetLeft),
              IntProperty("Top", &TCustomForm::SetTop),
              {"BorderStyle",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TCustomForm&>(c).SetBorderStyle(
                       TBorderStyle(l.Choice(v, {"bsNone", "bsSingle", "bsSizeable", "bsDialog"})));
               }},
              {"BorderIcons",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   if (!v.isArray())
                       l.Fail("ожидается список значков, например [\"biSystemMenu\"]");
                   unsigned icons = 0;
                   for (const QJsonValue& icon : v.toArray())
                       icons |= 1u << l.Choice(icon, {"biSystemMenu", "biMinimize", "biMaximize"});
                   static_cast<TCustomForm&>(c).SetBorderIcons(icons);
               }},
              IntProperty("Width", &TCustomForm::SetWidth),
              IntProperty("Height", &TCustomForm::SetHeight),
              IntProperty("ClientWidth", &TCustomForm::SetClientWidth),
              IntProperty("ClientHeight", &TCustomForm::SetClientHeight),
              TextProperty("Caption", &TCustomForm::SetCaption),
              {"Color",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   std::vector<std::string> names;
                   for (const auto& [name, color] : ColorNames())
                       names.push_back(name);
                   static_cast<TCustomForm&>(c).SetColor(ColorNames()[l.Choice(v, names)].second);
               }},
              {"PopupMenu",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   const std::string name = l.String(v);
                   auto& form = static_cast<TCustomForm&>(c);
                   l.Later([&l, &form, name] {
                       auto* menu = dynamic_cast<TPopupMenu*>(l.Find(name));
                       if (!menu)
                           l.Fail("«" + name + "» не является всплывающим меню (TPopupMenu)");
                       form.SetPopupMenu(menu);
                   });
               }},
              {"OnKeyDown",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TCustomForm&>(c).OnKeyDown =
                       l.Handler<TKeyEvent>(v, "(TObject* Sender, Word& Key, TShiftState Shift)");
               }},
              {"OnMouseMove",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TCustomForm&>(c).OnMouseMove =
                       l.Handler<TMouseMoveEvent>(v, "(TObject* Sender, TShiftState Shift, int X, int Y)");
               }},
          }}},
        {"TControl",
         {"",
          {},
          {
              IntProperty("Left", &TControl::SetLeft),
              IntProperty("Top", &TControl::SetTop),
              IntProperty("Width", &TControl::SetWidth),
              IntProperty("Height", &TControl::SetHeight),
              BoolProperty("Visible", &TControl::SetVisible),
              BoolProperty("Enabled", &TControl::SetEnabled),
              IntProperty("TabOrder", &TControl::SetTabOrder),
          }}},
        {"TImage",
         {"TControl",
          [] { return std::make_unique<TImage>(); },
          {
              {"Picture",
               [](Loader& l, TComponent& c, const QJsonValue& v) {
                   static_cast<TImage&>(c).Picture()->SetImage(l.Picture(v));
               }},
          }}},
        {"TCheckBox",
         {"TControl",
          [] { return std::make_unique<TCheckBox>(); },
          {
              TextProperty("Caption", &TCheckBox::SetCaption),
              BoolProperty("Checked", &TCheckBox::SetChecked),
              NotifyProperty("OnClick", &TCheckBox::OnClick),
          }}},
        {"TTimer",
         {"",
          [] { return std::make_unique<TTimer>(); },
          {
              IntProperty("Interval", &TTimer::SetInterval),
              BoolProperty("Enabled", &TTimer::SetEnabled),
              NotifyProperty("OnTimer", &TTimer::OnTimer),
          }}},
        {"TPopupMenu", {"", [] { return std::make_unique<TPopupMenu>(); }, {}}},
        {"TMenuItem",
         {"",
          [] { return std::make_unique<TMenuItem>(); },
          {
              TextProperty("Caption", &TMenuItem::SetCaption),
              NotifyProperty("OnClick", &TMenuItem::OnClick),
          }}},
    };
    return classes;
}

void Loader::Fail(const std::string& what)
{
    std::string where = "Макет " + Quoted(path_);
    if (!node_.empty())
        where += ", элемент " + Quoted(node_);
    if (!property_.empty())
        where += ", свойство " + Quoted(property_);
    throw Exception(where + ": " + what);
}

int Loader::Int(const QJsonValue& value)
{
    const double number = value.toDouble(NAN);
    if (!value.isDouble() || number != std::floor(number) || number < INT_MIN || number > INT_MAX)
        Fail("ожидается целое число");
    return static_cast<int>(number);
}

bool Loader::Bool(const QJsonValue& value)
{
    if (!value.isBool())
        Fail("ожидается true или false");
    return value.toBool();
}

std::string Loader::String(const QJsonValue& value)
{
    if (!value.isString())
        Fail("ожидается строка");
    return value.toString().toStdString();
}

int Loader::Choice(const QJsonValue& value, const std::vector<std::string>& names)
{
    const std::string name = String(value);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    std::string allowed;
    for (const std::string& n : names)
        allowed += (allowed.empty() ? "" : ", ") + n;
    Fail("значение " + Quoted(name) + " не из допустимых: " + allowed);
}

QImage Loader::Picture(const QJsonValue& value)
{
    // A picture is a file embedded beside the layout, named relative to it.
    const std::string name = String(value);
    const std::string folder = QFileInfo(QString::fromStdString(path_)).path().toStdString();
    try {
        return ReadPicture(":/" + folder + "/" + name, name);
    } catch (const Exception& failure) {
        Fail(failure.Message());
    }
}

template <class Event>
Event Loader::Handler(const QJsonValue& value, const char* signature)
{
    const std::string name = String(value);
    const auto found = form_.Handlers().find(name);
    if (found == form_.Handlers().end())
        Fail("у окна " + form_.ClassName() + " нет обработчика " + Quoted(name));
    if (!std::holds_alternative<Event>(found->second))
        Fail("обработчик " + Quoted(name) + " должен иметь вид " + name + signature);
    return std::get<Event>(found->second);
}

TComponent* Loader::Find(const std::string& name)
{
    const auto found = created_.find(name);
    if (found == created_.end())
        Fail("в макете нет элемента " + Quoted(name));
    return found->second;
}

void Loader::Load()
{
    QFile file(":/" + QString::fromStdString(path_));
    if (!file.open(QIODevice::ReadOnly))
        Fail("макет не встроен в программу");
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull())
        Fail("ошибка JSON в позиции " + std::to_string(error.offset) + ": "
             + error.errorString().toStdString());
    if (!document.isObject())
        Fail("корнем макета должно быть окно (объект JSON)");

    Build(document.object(), nullptr);
    for (const Reference& reference : references_) {
        node_ = reference.node;
        property_ = reference.property;
        reference.resolve();
    }
    node_.clear();
    property_.clear();
    for (const auto& [name, field] : form_.Fields())
        if (!field.bound)
            Fail("поле " + Quoted(name) + " окна " + form_.ClassName() + " не создано макетом");
    form_.ArrangeTabOrder();
}

void Loader::Build(const QJsonObject& node, TComponent* parent)
{
    node_.clear();
    property_ = "name";
    const std::string name = String(node.value("name"));
    node_ = name;
    property_ = "class";
    const std::string className = String(node.value("class"));
    property_.clear();

    TComponent* component = &form_;
    if (parent == nullptr) {
        if (className != form_.ClassName())
            Fail("корень макета должен быть окном " + form_.ClassName() + ", а не " + className);
        form_.SetName(name);
        ApplyProperties(node, form_, "TForm");
    } else {
        const auto found = Classes().find(className);
        if (found == Classes().end() || !found->second.create)
            Fail("неизвестный класс " + className);
        if (created_.count(name))
            Fail("имя уже занято другим элементом");
        component = form_.Own(found->second.create());
        component->SetName(name);
        created_[name] = component;
        BindField(name, *component);
        Attach(*component, className, parent);
        ApplyProperties(node, *component, className);
    }

    const QJsonValue children = node.value("children");
    if (children.isUndefined())
        return;
    if (!children.isArray()) {
        node_ = name;
        property_ = "children";
        Fail("ожидается список элементов");
    }
    for (const QJsonValue& child : children.toArray()) {
        node_ = name;
        property_ = "children";
        if (!child.isObject())
            Fail("каждый элемент должен быть объектом JSON");
        Build(child.toObject(), component);
    }
}

void Loader::ApplyProperties(const QJsonObject& node, TComponent& component, const std::string& className)
{
    // Properties are applied in the order of the class's own table, base class first, so
    // the result never depends on the order of keys in the file.
    std::vector<const Property*> known;
    for (std::string c = className; !c.empty(); c = Classes().at(c).base) {
        std::vector<const Property*> own;
        for (const Property& p : Classes().at(c).properties)
            own.push_back(&p);
        known.insert(known.begin(), own.begin(), own.end());
    }
    for (auto key = node.begin(); key != node.end(); ++key) {
        const std::string name = key.key().toStdString();
        if (name == "class" || name == "name" || name == "children")
            continue;
        bool isKnown = false;
        for (const Property* p : known)
            isKnown = isKnown || name == p->name;
        if (!isKnown) {
            property_ = name;
            Fail("у класса " + className + " нет такого свойства");
        }
    }
    for (const Property* p : known) {
        const QJsonValue value = node.value(p->name);
        if (value.isUndefined())
            continue;
        property_ = p->name;
        p->apply(*this, component, value);
    }
    property_.clear();
}

void Loader::Attach(TComponent& child, const std::string& childClass, TComponent* parent)
{
    auto* control = dynamic_cast<TControl*>(&child);
    auto* item = dynamic_cast<TMenuItem*>(&child);
    if (control) {
        if (auto* holder = dynamic_cast<TWinControl*>(parent))
            return control->SetParent(holder);
    } else if (item) {
        if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
            return menu->Add(item);
        if (auto* owner = dynamic_cast<TMenuItem*>(parent))
            return owner->Add(item);
    } else if (parent == &form_) {
        return; // timers, menus and dialogs belong to the window and show nowhere
    }
    Fail(childClass + " не может находиться внутри " + Quoted(parent->Name().empty() ? "окна" : parent->Name()));
}

void Loader::BindField(const std::string& name, TComponent& component)
{
    auto& fields = form_.Fields();
    const auto found = fields.find(name);
    if (found == fields.end())
        Fail("у окна " + form_.ClassName() + " нет поля с таким именем");
    if (!found->second.bind(&component))
        Fail("класс элемента не совпадает с типом поля " + Quoted(name) + " окна " + form_.ClassName());
    found->second.bound = true;
}

} // namespace

void TCustomForm::LoadLayout(const std::string& layoutPath)
{
    Loader(*this, layoutPath).Load();
}
