// Applies a window's layout: a JSON tree of components embedded in the program. Each node
// is created by its class, stored in the window's published field of the same name, given
// its properties and event handlers, and placed in its parent. Anything that cannot be
// applied raises Exception naming the layout, the node and the property.
#include "shell/Layout.h"

#include "shell/PictureFiles.h"

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

std::vector<void (*)(ClassTable&)>& LinkedFamilies()
{
    static std::vector<void (*)(ClassTable&)> families;
    return families;
}

} // namespace

LinkedFamily::LinkedFamily(void (*addClasses)(ClassTable&))
{
    LinkedFamilies().push_back(addClasses);
}

void AddLinkedClasses(ClassTable& classes)
{
    for (auto addFamily : LinkedFamilies())
        addFamily(classes);
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
        return ReadPicture(":/" + folder + "/" + name, name).Whole();
    } catch (const Exception& failure) {
        Fail(failure.Message());
    }
}

TComponent* Loader::Created(const std::string& name)
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
    Apply(file.readAll());
}

void Loader::Apply(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (document.isNull())
        Fail("ошибка JSON в позиции " + std::to_string(error.offset) + ": "
             + error.errorString().toStdString());
    if (!document.isObject())
        Fail("корнем макета должно быть окно (объект JSON)");

    Build(document.object(), nullptr, "");
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
}

void Loader::Build(const QJsonObject& node, TComponent* parent, const std::string& parentClass)
{
    node_.clear();
    property_ = "name";
    const std::string name = String(node.value("name"));
    node_ = name;
    property_ = "class";
    const std::string className = String(node.value("class"));
    property_.clear();

    TComponent* component = &form_.Root();
    std::string tableClass = "TForm"; // the root's entry in the table, whatever the window's class
    if (parent == nullptr) {
        if (className != form_.ClassName())
            Fail("корень макета должен быть окном " + form_.ClassName() + ", а не " + className);
        form_.Root().SetName(name);
        ApplyProperties(node, form_.Root(), tableClass);
    } else {
        tableClass = className;
        const auto found = classes_.find(className);
        if (found == classes_.end() || !found->second.create)
            Fail("неизвестный класс " + className);
        if (created_.count(name))
            Fail("имя уже занято другим элементом");
        component = form_.Adopt(found->second.create());
        component->SetName(name);
        created_[name] = component;
        BindField(name, *component);
        Attach(*component, className, *parent, parentClass);
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
        Build(child.toObject(), component, tableClass);
    }
}

void Loader::ApplyProperties(const QJsonObject& node, TComponent& component, const std::string& className)
{
    // Properties are applied in the order of the class's own table, base class first, so
    // the result never depends on the order of keys in the file.
    std::vector<const Property*> known;
    for (std::string c = className; !c.empty(); c = classes_.at(c).base) {
        std::vector<const Property*> own;
        for (const Property& p : classes_.at(c).properties)
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

void Loader::Attach(TComponent& child, const std::string& childClass, TComponent& parent, const std::string& parentClass)
{
    for (std::string c = parentClass; !c.empty(); c = classes_.at(c).base) {
        const TakeChild& take = classes_.at(c).takeChild;
        if (take && take(parent, child))
            return;
    }
    Fail(childClass + " не может находиться внутри " + Quoted(parent.Name().empty() ? "окна" : parent.Name()));
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
