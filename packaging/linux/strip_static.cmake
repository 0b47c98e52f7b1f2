# Run by CPack before it packs (CPACK_PRE_BUILD_SCRIPTS): the static
# libraries lose their debug information, as Debian's own tools strip them,
# and keep the same bytes from build to build.
file(GLOB_RECURSE libraries "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.a")
foreach(library ${libraries})
    execute_process(COMMAND strip --strip-debug --remove-section=.comment
                            --remove-section=.note --enable-deterministic-archives ${library}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "strip failed on ${library}")
    endif()
endforeach()
