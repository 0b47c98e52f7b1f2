# Fails when a checked-in icon of the page differs from make_icon's output.
foreach(size 192 512)
    set(made ${SCRATCH}/icon-${size}.png)
    execute_process(COMMAND ${MAKE_ICON} ${made} ${size} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "make_icon ${made} ${size} failed")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${FOLDER}/icon-${size}.png
                    RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "icon-${size}.png is not make_icon's: run "
                            "make_icon platform/host/web/icon-${size}.png ${size}")
    endif()
endforeach()
