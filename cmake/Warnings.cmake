# Warnings for our own code; third-party code added later keeps its own flags.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
