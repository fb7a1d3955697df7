# Third-party code, all from Debian packages (scripts/setup.sh installs them).

if(WIN32)
  # Debian's MinGW zlib ships the static library and a DLL import library; take the static one.
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

if(MOYAN_TESTS AND WIN32)
  # Debian builds GoogleTest for the host only: MinGW builds compile the same version from
  # Debian's sources.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
elseif(MOYAN_TESTS)
  # Host builds link Debian's own build of it; the sanitizers need only the code under test
  # and the tests instrumented.
  find_package(GTest CONFIG REQUIRED)
endif()

if(MOYAN_BENCH)
  if(WIN32 AND NOT EXISTS ${PROJECT_SOURCE_DIR}/bench/shim/benchmark_shim.cc)
    set(MOYAN_BENCH OFF)
  elseif(WIN32)
    # Debian has no MinGW build of Google Benchmark: a small stand-in with the same API
    # lets the benchmarks run under Wine too.
    add_library(benchmark_shim STATIC ${PROJECT_SOURCE_DIR}/bench/shim/benchmark_shim.cc)
    target_include_directories(benchmark_shim SYSTEM PUBLIC ${PROJECT_SOURCE_DIR}/bench/shim)
    add_library(benchmark::benchmark ALIAS benchmark_shim)
    add_library(benchmark::benchmark_main ALIAS benchmark_shim)
  else()
    find_package(benchmark REQUIRED)
  endif()
endif()
