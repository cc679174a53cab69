# Cross toolchain for the Windows build: MinGW-w64 (win32 thread model) targeting x86_64.
# kirelo.exe and the Win32 test programs come out of this configuration and run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KIRELO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KIRELO_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${KIRELO_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${KIRELO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIRELO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
