# Warnings apply to the project's own code only, never to GoogleTest's.
function(zandrel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# A library of the project: its sources, warnings, and the repository root on
# the include path so that headers are named from the top ("runtime/core/heap.h").
function(zandrel_library name)
    add_library(${name} STATIC ${ARGN})
    zandrel_warnings(${name})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
