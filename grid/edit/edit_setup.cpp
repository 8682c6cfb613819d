#include "grid/edit/edit_setup.h"

#include <map>
#include <utility>

namespace grid {

namespace {

struct TRegistryData {
  std::map<int, int> FamilyOfKind;
  std::vector<TCellEditorFactory> Factories;
};

TRegistryData& Data() {
  static TRegistryData data;
  return data;
}

}  // namespace

void TEditorRegistry::Register(const std::vector<TEditorType>& Kinds, TCellEditorFactory Factory) {
  TRegistryData& d = Data();
  d.Factories.push_back(std::move(Factory));
  const int family = static_cast<int>(d.Factories.size()) - 1;
  for (TEditorType k : Kinds) d.FamilyOfKind[k] = family;
}

int TEditorRegistry::FamilyOf(TEditorType Kind) {
  const auto& m = Data().FamilyOfKind;
  const auto it = m.find(Kind);
  return it == m.end() ? -1 : it->second;
}

TCellEditorFactory TEditorRegistry::FactoryOf(int Family) {
  const auto& f = Data().Factories;
  return Family >= 0 && Family < static_cast<int>(f.size()) ? f[static_cast<std::size_t>(Family)] : nullptr;
}

void RegisterCustomEditor();
void RegisterSpecialEditors();

void RegisterGridEditors() {
  RegisterSpecialEditors();
  RegisterCustomEditor();
}

}  // namespace grid
