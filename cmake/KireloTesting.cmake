# Test helpers: GoogleTest built from the Debian source tree for both configurations, native tests
# run directly, Windows tests run under Wine inside a private Xvfb display (scripts/wine-harness.sh).

set(KIRELO_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(KIRELO_WINE_HARNESS ${CMAKE_SOURCE_DIR}/scripts/wine-harness.sh)
set(KIRELO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)

if(NOT KIRELO_FUZZ AND EXISTS ${KIRELO_GTEST_SOURCE}/CMakeLists.txt)
    set(gtest_disable_pthreads ${WIN32} CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${KIRELO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(WIN32 AND NOT MSVC)
        # MinGW's win32 thread model lacks std::mutex, which GoogleTest needs.
        target_compile_options(gtest PUBLIC -include ${PROJECT_SOURCE_DIR}/tests/common/MingwStdMutex.h)
    endif()
endif()

# kirelo_native_test(NAME n SOURCES a.cpp ... LIBS lib ... [TIMEOUT s])
function(kirelo_native_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(WIN32 OR KIRELO_FUZZ)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    kirelo_target_defaults(${T_NAME})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS native)
endfunction()

# The Wine fixture: one Xvfb display with the openbox window manager (a desktop as users have it)
# and one Wine prefix under the build tree for all Wine tests, started before the first and torn
# down (by process id) after the last. The manager runs for the whole display, not only for the
# end-to-end tests: Wine's own windows (the tray) live across tests, and a manager that came and
# went between them would leave them adopted by one that is gone.
if(WIN32 AND NOT KIRELO_FUZZ)
    add_test(NAME wine_start COMMAND bash ${KIRELO_WINE_HARNESS} start ${KIRELO_WINE_STATE} openbox)
    add_test(NAME wine_stop COMMAND bash ${KIRELO_WINE_HARNESS} stop ${KIRELO_WINE_STATE})
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180 LABELS wine)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60 LABELS wine)
endif()

# Runs an already defined command under the Wine fixture. The Wine tests take turns on the one
# display: a window another test program shows takes the activation and the keyboard focus that
# a test is checking. The native tests and the
# fuzzer run beside them.
function(kirelo_wine_command NAME TIMEOUT)
    add_test(NAME ${NAME} COMMAND bash ${KIRELO_WINE_HARNESS} run ${KIRELO_WINE_STATE} ${TIMEOUT} ${ARGN})
    set_tests_properties(${NAME} PROPERTIES TIMEOUT ${TIMEOUT} FIXTURES_REQUIRED wine LABELS wine
                                            RESOURCE_LOCK wine_display)
endfunction()

# kirelo_wine_test(NAME n SOURCES a.cpp ... LIBS lib ... [TIMEOUT s])
function(kirelo_wine_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT WIN32 OR KIRELO_FUZZ)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    kirelo_target_defaults(${T_NAME})
    target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main)
    kirelo_wine_command(${T_NAME} ${T_TIMEOUT} $<TARGET_FILE:${T_NAME}>)
endfunction()
