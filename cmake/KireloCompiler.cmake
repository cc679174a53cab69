# Compiler settings shared by every target of the project: warnings as errors, sources in UTF-8
# with narrow literals in code page 932, static Windows binaries, sanitizers for the native build.

function(kirelo_target_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX /source-charset:utf-8 /execution-charset:.932)
        target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS)
    elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        # clang only knows UTF-8 literals; it builds the fuzz targets, which show no texts.
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -finput-charset=UTF-8
                                                 -fexec-charset=CP932)
    endif()
    if(WIN32)
        target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    endif()
endfunction()

if(WIN32 AND NOT MSVC)
    # No MinGW DLLs next to the program: everything is linked in.
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()
if(MSVC)
    # The manifest comes from kirelo.rc; the linker must not add a second one.
    add_link_options(/MANIFEST:NO)
endif()

option(KIRELO_SANITIZE "Build the native configuration with AddressSanitizer and UBSan" ON)
option(KIRELO_FUZZ "Build only the libFuzzer targets (clang)" OFF)

if(NOT WIN32 AND KIRELO_SANITIZE AND NOT KIRELO_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
