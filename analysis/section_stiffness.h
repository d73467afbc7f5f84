#pragma once
// Elastic constants of a layer and the 8x8 section matrix of a layer stack.
//
// The section matrix relates the section forces and moments to the generalized
// strains of the mid-surface (εx, εy, γxy, w,xx, w,yy, w,xy, w,x, w,y). A layer at
// height z above the mid-surface is strained by (εx, εy, γxy) - z (w,xx, w,yy,
// 2 w,xy): hence the factors 2 and 4 in the twist row and column and the minus
// sign of the membrane-bending coupling. Rows and columns 6 and 7 stay zero.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/matrix.h"
#include "platform/extended.h"

namespace tavir {

constexpr std::uint8_t kLayerMonolith = 0;
constexpr std::uint8_t kLayerReinforcement = 1;

// One layer as the computation sees it: geometry, type and material constants.
struct LayerInput {
  Extended Thickness = 0;
  Extended Z = 0;  // offset of the layer's middle from the mid-surface
  std::uint8_t TypeLayer = kLayerMonolith;
  Extended E = 0;
  Extended Mu = 0;
  Extended Fi = 0;  // rod angle from the X axis, degrees (reinforcement layers)
};

using LayerQMatrix = std::array<std::array<Extended, 3>, 3>;
using SectionArray = std::array<std::array<Extended, 8>, 8>;

struct LayerModuli {
  Extended K = 0;  // bulk modulus
  Extended G = 0;  // shear modulus
  LayerQMatrix Q{};     // plane stiffness for (εx, εy, γxy) in the element axes
};

// K, G and Q of one layer. A monolith is isotropic in plane stress; a
// reinforcement layer is a uniaxial rod field turned by Fi; any other type has
// Q = 0 (its K and G are still computed). No guard against E = 0 or ν = 0.5:
// the shell check refuses such materials before anything is computed.
LayerModuli LayerElastic(const LayerInput& layer);

// D of the stack from its layers and their constants (same length, same order).
void SectionMatrix(std::span<const LayerInput> layers, std::span<const LayerModuli> elastic, SectionArray& D);

// The same at the matrix interface: D (8x8) for the given layers.
TFloat2DMatrix SectionMatrix(std::span<const LayerInput> layers);

TFloat2DMatrix ToMatrix(const SectionArray& D);
// Refuses (EMatrixError) a matrix that is not 8x8.
SectionArray ToSectionArray(const TFloat2DMatrix& D);

}  // namespace tavir
