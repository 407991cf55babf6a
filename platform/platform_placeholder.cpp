// Platform layer library root.
namespace platform {}
