# Project-wide warnings for our own targets: link harventis_warnings.
add_library(harventis_warnings INTERFACE)
target_compile_options(harventis_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                       -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast)
