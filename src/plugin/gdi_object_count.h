// Only in the tests' build of the plugin: the GDI objects its code has
// created and not deleted (Wine's GetGuiResources reports nothing).
#pragma once

namespace kontaktel {

int LiveGdiObjects();

}  // namespace kontaktel
