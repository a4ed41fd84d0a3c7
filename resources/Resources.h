#pragma once

namespace mirel {

// Registers the compiled-in resources (page files, pictures, icon). The library is
// static, so a program calls this once before looking a resource up; later calls do
// nothing.
void initResources();

} // namespace mirel
