#include "model/model_factory.h"

namespace tavir {

std::unique_ptr<TEditorKnot> ModelFactory::MakeKnot() const { return std::make_unique<TEditorKnot>(); }

std::unique_ptr<TMLEditorElement> ModelFactory::MakePlate(ElementType elementType,
                                                          const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLEditorElement>(elementType, material, ElementKind::Plate);
}

std::unique_ptr<TMLEditorShell> ModelFactory::MakeShell(ElementType elementType,
                                                        const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLEditorShell>(elementType, material, ElementKind::Shell);
}

std::unique_ptr<TEditorSupport> ModelFactory::MakeSupport() const { return std::make_unique<TEditorSupport>(); }

std::unique_ptr<TEditorConcentrateForce> ModelFactory::MakeConcForce() const {
  return std::make_unique<TEditorConcentrateForce>();
}

std::unique_ptr<TEditorDispersionForce> ModelFactory::MakeDispForce() const {
  return std::make_unique<TEditorDispersionForce>();
}

std::shared_ptr<TPhisPropRodNL> ModelFactory::MakeMaterial() const { return std::make_shared<TPhisPropRodNL>(); }

std::unique_ptr<TEditorShellEP> ModelFactory::MakeParaboloid() const { return std::make_unique<TEditorShellEP>(); }

std::unique_ptr<TEditorSphere> ModelFactory::MakeSphere() const { return std::make_unique<TEditorSphere>(); }

std::unique_ptr<TMLEditorElement> ModelFactory::MakeElement(ElementKind elemKind, ElementType elementType,
                                                            const std::shared_ptr<TPhisPropRodNL>& material) const {
  switch (elemKind) {
    case ElementKind::Plate: return MakePlate(elementType, material);
    case ElementKind::Shell: return MakeShell(elementType, material);
    default: return nullptr;
  }
}

std::shared_ptr<const ModelFactory> DefaultModelFactory() {
  static const std::shared_ptr<const ModelFactory> factory = std::make_shared<const ModelFactory>();
  return factory;
}

}  // namespace tavir
