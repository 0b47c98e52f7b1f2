# The version people see. ZANDREL_VERSION_FULL is the release number and, when
# the sources are a git checkout, what `git describe` says of the commit they
# were built from ("1.0.0 (fded1b5)", "1.0.0 (fded1b5-dirty)"). It is read
# when the build is configured.
set(ZANDREL_VERSION_FULL ${PROJECT_VERSION})
set(ZANDREL_REVISION "")
find_package(Git QUIET)
if(Git_FOUND AND EXISTS ${PROJECT_SOURCE_DIR}/.git)
    execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE ZANDREL_REVISION
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET
        RESULT_VARIABLE describe_status)
    if(NOT describe_status EQUAL 0)
        set(ZANDREL_REVISION "")
    endif()
endif()
if(ZANDREL_REVISION)
    string(APPEND ZANDREL_VERSION_FULL " (${ZANDREL_REVISION})")
endif()
