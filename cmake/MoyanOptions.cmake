# Compiler settings shared by every target of the project (not by third-party code).

add_library(moyan_options INTERFACE)
target_compile_options(moyan_options INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor)
if(MOYAN_WERROR)
  target_compile_options(moyan_options INTERFACE -Werror)
endif()
target_include_directories(moyan_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

# Texts inside the program are GBK bytes. Sources are UTF-8; GCC (host and MinGW)
# re-encodes narrow literals to GBK. Clang cannot, so code that clang compiles (the
# portable core, for fuzzing) writes non-ASCII bytes as escapes.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(moyan_options INTERFACE -finput-charset=UTF-8 -fexec-charset=GBK)
endif()

if(WIN32)
  # Wide-character Win32 everywhere; texts cross the boundary through code page 936.
  target_compile_definitions(moyan_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                     _WIN32_WINNT=0x0601)
  # No MinGW DLL beside any executable.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(MOYAN_SANITIZE)
  add_compile_options(-fsanitize=${MOYAN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${MOYAN_SANITIZE})
endif()

if(MOYAN_FUZZ)
  # Coverage for everything that the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
