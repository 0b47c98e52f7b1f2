# GoogleTest: Debian's package natively; for the Windows builds, compiled from
# the sources that libgtest-dev installs.
if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# One test program. Natively every case is its own CTest entry; under Wine each
# process start costs seconds, so there the whole program is one entry, its
# cases in a new random order on every run: a case that depends on what an
# earlier one left behind fails there sooner or later. The seed of a failing
# order is in the output; --gtest_random_seed repeats it.
function(zandrel_test name)
    add_executable(${name} ${ARGN})
    zandrel_warnings(${name})
    target_link_libraries(${name} PRIVATE zandrel_test_support)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${name} --gtest_shuffle)
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
    endif()
endfunction()
