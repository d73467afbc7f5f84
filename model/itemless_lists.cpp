#include "model/itemless_lists.h"

namespace tavir {

void TPliantsList::LoadFromStream(BinaryReader& r) { (void)r.ReadCount(0); }

}  // namespace tavir
