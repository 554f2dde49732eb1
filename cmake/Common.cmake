# Build settings and helpers shared by every subsystem.

if(WIN32)
    set(TD_WIN32 ON)
else()
    set(TD_WIN32 OFF)
endif()
# The release build: 32-bit Windows. Its tests run the very files that ship.
if(TD_WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TD_PE32 ON)
    set(TD_RELEASE_BIN ${CMAKE_BINARY_DIR}/bin)
else()
    set(TD_PE32 OFF)
endif()

add_compile_options(-Wall -Wextra)

# Every tree builds its tests unless told not to: the PE32 and x64 trees run theirs
# under Wine, the native tree with sanitizers.
option(TD_BUILD_TESTS "Build the tests" ON)

if(TD_WIN32)
    # No compiler run-time DLLs on the user's machine.
    add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
else()
    option(TD_SANITIZE "Build the native cores with AddressSanitizer and UBSan" ON)
    if(TD_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                            -fno-sanitize-recover=undefined)
        add_link_options(-fsanitize=address,undefined)
    endif()
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(TD_FUZZ ON)
    else()
        set(TD_FUZZ OFF)
    endif()
endif()

set(TD_VERSION_RC_IN ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

# td_version_resource(target "File description" "ORIGINAL.NAME")
# Gives a Windows binary its version resource.
function(td_version_resource target description original)
    if(NOT TD_WIN32)
        return()
    endif()
    set(TD_FILE_DESCRIPTION "${description}")
    set(TD_ORIGINAL_FILENAME "${original}")
    set(TD_INTERNAL_NAME "${target}")
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(TD_FILE_TYPE "VFT_APP")
    else()
        set(TD_FILE_TYPE "VFT_DLL")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${TD_VERSION_RC_IN} ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

# td_ship(target...): the target is a release file and is installed into dist/;
# the target `release` builds every such file and nothing else.
add_custom_target(release)
function(td_ship)
    install(TARGETS ${ARGN} RUNTIME DESTINATION . LIBRARY DESTINATION .)
    add_dependencies(release ${ARGN})
endfunction()

# td_add_test(name target [args...]): one CTest entry for a whole test program.
# Cross builds run it under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(td_add_test name target)
    add_test(NAME ${name} COMMAND ${target} ${ARGN})
endfunction()

# Generated pictures and sounds (resources/make_art.py), shared by the resource
# library and the launchers' icon.
set(TD_ART_DIR ${CMAKE_BINARY_DIR}/art)

# Every program and library of a build lands in one folder, so tests find the
# binaries they drive beside themselves.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
