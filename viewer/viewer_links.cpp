#include "viewer/viewer_links.h"

namespace tavir {

void ResultViewsHooks::WindowLoaded(const TAnalysisWindowData& window) {
  windows_.LoadFromWindowData(window);
  windows_.ShowDesk(0);
}

void ResultViewsHooks::ProjectCleared() { scene_.ProjectCleared(); }

}  // namespace tavir
