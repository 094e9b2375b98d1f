# Cross-compiles for 32-bit Windows (32-bit hosts load kontaktel.wlx).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KONTAKTEL_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KONTAKTEL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KONTAKTEL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KONTAKTEL_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${KONTAKTEL_TRIPLE}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${KONTAKTEL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# 32-bit Windows programs run here under Wine too (Debian's wine32), in the
# same prefix as the 64-bit ones.
set(KONTAKTEL_CAN_RUN ON)
