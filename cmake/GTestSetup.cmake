if(NOT TD_BUILD_TESTS)
    function(td_gtest)
    endfunction()
    return()
endif()

# GoogleTest, built from the sources of Debian's googletest package with whatever
# compiler this configuration uses (cross or native).
set(TD_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${TD_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# td_gtest(name SOURCES... [LIBS ...]): a GoogleTest program registered as one CTest test.
function(td_gtest name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gtest_main GTest::gmock)
    td_add_test(${name} ${name})
endfunction()
