// The module-wide count of live GDI objects.
#include "win/gdi_handles.h"

namespace kontaktel {

std::atomic<int>& LiveGdiObjectCount() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace kontaktel
