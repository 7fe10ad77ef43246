# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads, so std::thread and
# std::mutex work). Used for the Windows Qt (scripts/windows-qt) and for the program itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TELMARIS_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TELMARIS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELMARIS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TELMARIS_MINGW_TRIPLE}-windres)

# Libraries, headers and CMake packages come from the mingw root and from the Windows Qt
# (TELMARIS_WINDOWS_QT, set by the preset); programs such as moc come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TELMARIS_MINGW_TRIPLE})
if(DEFINED TELMARIS_WINDOWS_QT)
    list(APPEND CMAKE_FIND_ROOT_PATH ${TELMARIS_WINDOWS_QT})
    list(APPEND CMAKE_PREFIX_PATH ${TELMARIS_WINDOWS_QT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
