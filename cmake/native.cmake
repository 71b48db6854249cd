# Native build: the portable logic with its unit tests and benchmarks.
target_sources(zk_core PRIVATE text/gbk_iconv.cpp)
# Debian's minizip (libminizip-dev) and zlib.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
find_package(ZLIB REQUIRED)
target_link_libraries(zk_core PUBLIC PkgConfig::MINIZIP ZLIB::ZLIB)

find_package(GTest REQUIRED)
find_package(benchmark QUIET)
enable_testing()
include(GoogleTest)

file(GLOB ZK_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(zk_unit_tests ${ZK_UNIT_TESTS})
target_sources(zk_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/support/fakes.cpp ${CMAKE_SOURCE_DIR}/cloud/site.cpp)
target_link_libraries(zk_unit_tests PRIVATE zk_core GTest::gtest GTest::gtest_main)
# Tables written out by hand beside the tests, compared with the program's own.
target_compile_definitions(zk_unit_tests PRIVATE ZK_NET_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
gtest_discover_tests(zk_unit_tests DISCOVERY_TIMEOUT 30)

if(benchmark_FOUND)
  add_executable(zk_bench bench/hosts_bench.cpp bench/replace_bench.cpp)
  target_link_libraries(zk_bench PRIVATE zk_core benchmark::benchmark benchmark::benchmark_main)
endif()
add_executable(zk_fetch_memory bench/fetch_memory.cpp tests/support/fakes.cpp)
target_link_libraries(zk_fetch_memory PRIVATE zk_core)
add_executable(zk_pack_bench bench/pack_bench.cpp tests/support/fakes.cpp)
target_link_libraries(zk_pack_bench PRIVATE zk_core)

# Fuzz targets (libFuzzer), in the sanitizer build only.
if(ZK_SANITIZE)
  file(GLOB ZK_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source ${ZK_FUZZ_TARGETS})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source} ${CMAKE_SOURCE_DIR}/tests/support/fakes.cpp)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE zk_core)
  endforeach()
  target_sources(release_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/tools/release.cpp)
endif()

# The release archive of `make dist`.
add_executable(zk_dist tools/dist_main.cpp tools/release.cpp)
target_link_libraries(zk_dist PRIVATE zk_core)
target_sources(zk_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/release.cpp)

# The cloud side: publish a site, serve it.
add_executable(zelkora-cloud cloud/main.cpp cloud/site.cpp)
target_link_libraries(zelkora-cloud PRIVATE zk_core cpp-httplib pthread)

# A misbehaving cloud for the end-to-end tests.
add_executable(zk_fault_server tests/e2e/fault_server.cpp)
target_link_libraries(zk_fault_server PRIVATE cpp-httplib pthread)
# Test data shared with the Windows-side tests.
target_compile_definitions(zk_unit_tests PRIVATE ZK_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data/")
