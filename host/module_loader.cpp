// Placeholder for the host's module loader.
namespace host {}
