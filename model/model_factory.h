#pragma once
// Makes the items that the list readers fill. The analysis program derives result
// classes from the editor's entities and reads the same file into them, so every
// reader creates its items through a ModelFactory, which that program replaces.
#include <cstdint>
#include <memory>

#include "model/elements.h"
#include "model/knots.h"
#include "model/materials.h"
#include "model/shell_surfaces.h"

namespace tavir {

// Makes the items that the list readers fill. The default makes the editor's
// classes; the analysis program derives its result classes and its own factory.
class ModelFactory {
 public:
  virtual ~ModelFactory() = default;
  virtual std::unique_ptr<TEditorKnot> MakeKnot() const;
  // A plate (kind 0) and a shell (kind 5) element with one default layer on the material.
  virtual std::unique_ptr<TMLEditorElement> MakePlate(ElementType elementType,
                                                      const std::shared_ptr<TPhisPropRodNL>& material) const;
  virtual std::unique_ptr<TMLEditorShell> MakeShell(ElementType elementType,
                                                    const std::shared_ptr<TPhisPropRodNL>& material) const;
  virtual std::unique_ptr<TEditorSupport> MakeSupport() const;
  virtual std::unique_ptr<TEditorConcentrateForce> MakeConcForce() const;
  virtual std::unique_ptr<TEditorDispersionForce> MakeDispForce() const;
  // A material with default properties.
  virtual std::shared_ptr<TPhisPropRodNL> MakeMaterial() const;
  virtual std::unique_ptr<TEditorShellEP> MakeParaboloid() const;
  virtual std::unique_ptr<TEditorSphere> MakeSphere() const;

  // MakePlate or MakeShell by kind; nullptr for any other kind.
  std::unique_ptr<TMLEditorElement> MakeElement(ElementKind elemKind, ElementType elementType,
                                                const std::shared_ptr<TPhisPropRodNL>& material) const;
};

// The factory of the editor's classes (one shared instance).
std::shared_ptr<const ModelFactory> DefaultModelFactory();

}  // namespace tavir
