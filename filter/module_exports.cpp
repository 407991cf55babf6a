// The shared module's own translation unit. The module is the static core
// linked whole behind FilterEntry (see CMakeLists.txt); nothing is added here.
