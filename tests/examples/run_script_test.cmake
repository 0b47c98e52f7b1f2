# Runs an example program with its script on the headless host, expects it to
# end by itself with code 0, then compares every named capture with its golden.
#   cmake -DPROGRAM= -DSCRIPT= -DCAPTURES= -DGOLDENS= -DCOMPARE= -DNAMES=a.png;b.png
#         -P run_script_test.cmake
file(REMOVE_RECURSE ${CAPTURES})
file(MAKE_DIRECTORY ${CAPTURES})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ZANDREL_SCRIPT=${SCRIPT} ZANDREL_CAPTURE_DIR=${CAPTURES}
            ZANDREL_TIME_LIMIT=120 ${PROGRAM}
    RESULT_VARIABLE code)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ended with ${code}, not 0")
endif()
execute_process(COMMAND ${COMPARE} ${GOLDENS} ${CAPTURES} ${NAMES} RESULT_VARIABLE code)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "captures differ from their goldens in ${GOLDENS}")
endif()
