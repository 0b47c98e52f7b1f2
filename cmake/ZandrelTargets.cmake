# Warnings apply to the project's own code only, never to GoogleTest's.
function(zandrel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Where the installed package keeps the headers: include/zandrel/ holds
# runtime.h and, under the same relative paths as in the repository, the
# headers it includes; include/zandrel/win32/ holds the layer's <windows.h>.
set(ZANDREL_INSTALL_HEADERS ${CMAKE_INSTALL_INCLUDEDIR}/zandrel)
set(ZANDREL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Zandrel)
# The files a program's page is made from (web builds), and the templates of
# a Windows program's resources (Windows builds).
set(ZANDREL_INSTALL_WEBDIR ${CMAKE_INSTALL_DATADIR}/zandrel/web)
set(ZANDREL_INSTALL_WINDOWSDIR ${CMAKE_INSTALL_DATADIR}/zandrel/windows)

# A library of the project: its sources, warnings, and the repository root on
# the include path so that headers are named from the top ("runtime/core/heap.h").
function(zandrel_library name)
    add_library(${name} STATIC ${ARGN})
    zandrel_warnings(${name})
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                              $<INSTALL_INTERFACE:${ZANDREL_INSTALL_HEADERS}>)
endfunction()

# A library compiled against the layer's <windows.h>, in the tree and when
# installed.
function(zandrel_layer_headers target)
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/platform/include>
        $<INSTALL_INTERFACE:${ZANDREL_INSTALL_HEADERS}/win32>)
endfunction()

# Libraries that programs link, installed and exported as Zandrel::NAME. In
# the tree the same name is an alias, so that zandrel_add_program links the
# same names here and from the installed package.
function(zandrel_export name export_name)
    set_target_properties(${name} PROPERTIES EXPORT_NAME ${export_name})
    add_library(Zandrel::${export_name} ALIAS ${name})
    install(TARGETS ${name} EXPORT ZandrelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
endfunction()
