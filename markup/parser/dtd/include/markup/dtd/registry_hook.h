// Connects the DTD compiler to the dictionary registry, which cannot link
// it: whoever links both (the import, the tools) installs it once.
#pragma once

namespace markup::dtd {

// The registry compiles a DOCTYPE's DTD (a local file it names, or its
// internal subset) with this compiler, its reports silenced: a document's
// DTD is the document's business, not the user's terminal.
void InstallRegistryCompiler();

}  // namespace markup::dtd
