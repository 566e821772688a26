#include "framework/form_reader.h"

#include <memory>
#include <vector>

#include "framework/form_parser.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"
#include "framework/sysutils.h"
#include "platform/resources/resources.h"

namespace fw {

// Friend of TComponent: sets and clears the reading states and runs Loaded.
class TFormReader final : public TReadContext {
 public:
  TFormReader(TComponent& root, std::string label) : root_(root), label_(std::move(label)) {}

  void Read(const TObjectNode& node) {
    if (!SameText(node.className, root_.ClassName()))
      Fail(node.line, "the description is of " + node.className + ", not " + root_.ClassName());
    try {
      Begin(root_);
      if (!node.name.empty()) Guard(node.line, [&] { root_.SetName(node.name); });
      ReadObject(root_, node);
      ResolveReferences();
    } catch (...) {
      for (TComponent* c : loaded_) c->state_.Exclude(csReading).Exclude(csLoading);
      throw;
    }
    for (TComponent* c : loaded_) c->state_.Exclude(csReading);
    for (TComponent* c : loaded_) c->Loaded();
  }

  const std::string& Label() const override { return label_; }

  std::any Handler(const TPropertyUse& use, std::type_index eventType) override {
    const TValue& v = use.value;
    if (v.kind != TValueKind::Ident) ValueMismatch(use, "a method name");
    if (SameText(v.text, "nil")) return {};
    const THandlerInfo* h = root_.ClassType().FindHandler(v.text);
    if (!h) Fail(v.line, "unknown handler " + DoubleQuoted(v.text) + " of " + root_.ClassName());
    if (h->eventType != eventType)
      Fail(v.line, "handler " + DoubleQuoted(v.text) + " of " + root_.ClassName() + " does not fit event " + DoubleQuoted(use.path));
    return h->bind(root_);
  }

  void ApplyProperties(TPersistent& target, const std::vector<TPropertyNode>& properties) override {
    for (const TPropertyNode& p : properties) ApplyProperty(target, p);
  }

  void AddReference(const TPropertyUse& use, const TMetaClass& wanted, std::function<void(TComponent*)> set) override {
    if (use.value.kind != TValueKind::Ident) ValueMismatch(use, "a component name");
    if (SameText(use.value.text, "nil")) {
      set(nullptr);
      return;
    }
    references_.push_back({use.value.text, std::string(use.path), use.value.line, &wanted, std::move(set)});
  }

 private:
  struct Reference {
    std::string name;
    std::string path;
    int line;
    const TMetaClass* wanted;
    std::function<void(TComponent*)> set;
  };

  // Runs a step that may raise a framework error and gives the error the line.
  template <class F>
  void Guard(int line, F&& step) {
    try {
      step();
    } catch (const EDescriptionError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, e.Message());
    }
  }

  void Begin(TComponent& c) {
    c.state_.Include(csLoading).Include(csReading);
    loaded_.push_back(&c);
  }

  void ReadObject(TComponent& component, const TObjectNode& node) {
    ApplyProperties(component, node.properties);
    for (const TObjectNode& child : node.children) ReadObject(CreateChild(child, component), child);
  }

  TComponent& CreateChild(const TObjectNode& node, TComponent& parent) {
    TComponent* c = node.inherited ? Existing(node) : Create(node);
    Guard(node.line, [&] { c->SetParentComponent(&parent); });
    return *c;
  }

  TComponent* Existing(const TObjectNode& node) {
    TComponent* c = root_.FindComponent(node.name);
    if (!c) Fail(node.line, "inherited component " + DoubleQuoted(node.name) + " not found in " + root_.ClassName());
    if (!SameText(c->ClassName(), node.className))
      Fail(node.line, "component " + DoubleQuoted(node.name) + " is a " + c->ClassName() + ", not a " + node.className);
    Begin(*c);
    return c;
  }

  const TMetaClass& ClassOf(const TObjectNode& node) {
    const TMetaClass* named = nullptr;
    const TFieldInfo* field = node.name.empty() ? nullptr : root_.ClassType().FindField(node.name);
    if (field && SameText(field->fieldClass->Name(), node.className)) named = field->fieldClass;
    if (!named) named = GetClass(node.className);
    if (!named) Fail(node.line, "unknown class " + DoubleQuoted(node.className));
    if (field && !named->InheritsFrom(*field->fieldClass))
      Fail(node.line, "component " + DoubleQuoted(node.name) + " is a " + named->Name() + ", but " + root_.ClassName() +
                          " holds it as a " + field->fieldClass->Name());
    if (!named->InheritsFrom(TComponent::StaticClass()) || !named->CanCreate())
      Fail(node.line, "class " + named->Name() + " is not a component that can be created");
    return *named;
  }

  TComponent* Create(const TObjectNode& node) {
    const TMetaClass& cls = ClassOf(node);
    if (root_.FindComponent(node.name))
      Fail(node.line, "a component named " + DoubleQuoted(node.name) + " already exists");
    TComponent* result = nullptr;
    Guard(node.line, [&] {
      std::unique_ptr<TObject> made = cls.Create(&root_);
      std::unique_ptr<TComponent> c(static_cast<TComponent*>(made.release()));
      c->state_.Include(csLoading).Include(csReading);
      c->SetName(node.name);
      result = c.get();
      root_.InsertComponent(std::move(c));
    });
    loaded_.push_back(result);
    return result;
  }

  void ApplyProperty(TPersistent& start, const TPropertyNode& p) {
    TObject* target = &start;
    const std::string startClass = start.ClassName();
    std::string_view rest = p.name;
    for (;;) {
      const auto dot = rest.find('.');
      const std::string_view part = rest.substr(0, dot);
      const TPropertyInfo* info = target->ClassType().FindProperty(part);
      if (!info) Fail(p.line, "unknown property " + DoubleQuoted(p.name) + " of " + startClass);
      if (dot == std::string_view::npos) {
        if (!info->apply)
          Fail(p.line, "property " + DoubleQuoted(p.name) + " of " + startClass +
                           " is an object; set its properties, as in " + DoubleQuoted(p.name + ".<name> = ..."));
        const TPropertyUse use{*target, p.value, *this, p.name, startClass};
        Guard(p.value.line, [&] { info->apply(use); });
        return;
      }
      if (!info->subObject)
        Fail(p.line, "property " + DoubleQuoted(std::string(p.name.substr(0, p.name.size() - rest.size() + dot))) + " of " +
                         startClass + " has no parts to set");
      TPersistent* sub = nullptr;
      Guard(p.line, [&] { sub = info->subObject(*target); });
      if (!sub) Fail(p.line, "property " + DoubleQuoted(p.name) + " of " + startClass + " has no object to set");
      target = sub;
      rest.remove_prefix(dot + 1);
    }
  }

  void ResolveReferences() {
    for (const Reference& r : references_) {
      TComponent* c = SameText(r.name, root_.Name()) ? &root_ : root_.FindComponent(r.name);
      if (!c) Fail(r.line, "unknown component " + DoubleQuoted(r.name) + " for property " + DoubleQuoted(r.path));
      if (!c->InheritsFrom(*r.wanted))
        Fail(r.line, "component " + DoubleQuoted(r.name) + " is a " + c->ClassName() + ", but property " + DoubleQuoted(r.path) +
                         " takes a " + r.wanted->Name());
      Guard(r.line, [&] { r.set(c); });
    }
  }

  TComponent& root_;
  std::string label_;
  std::vector<TComponent*> loaded_;
  std::vector<Reference> references_;
};

void ReadComponentFromTree(TComponent& root, const TObjectNode& description, const std::string& label) {
  TFormReader(root, label).Read(description);
}

void ReadComponentFromText(TComponent& root, std::string_view text, const std::string& label) {
  ReadComponentFromTree(root, ParseFormDescription(text, label), label);
}

void ReadComponentResource(TComponent& root, const std::string& resourceName) {
  TResourceStream stream(nullptr, resourceName, plat::RT_RCDATA);
  const auto bytes = stream.Bytes();
  ReadComponentFromText(root, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), resourceName);
}

void InitComponentFromResource(TComponent& root) { ReadComponentResource(root, root.ClassName()); }

}  // namespace fw
