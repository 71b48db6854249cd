# Windows build: Zelkora.exe, the Wine-side platform tests and the UI-automation driver.
target_sources(zk_core PRIVATE platform/win32/wide.cpp platform/win32/gbk_win32.cpp)
# Boost.Regex, header-only: a folder holding only a link to Boost's headers (never /usr/include).
target_include_directories(zk_core SYSTEM PRIVATE ${ZK_DEPS}/boost-win64)
# minizip, built by scripts/bootstrap.sh from Debian's zlib source package, and the toolchain's static zlib.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
target_include_directories(zk_core SYSTEM PRIVATE ${ZK_DEPS}/minizip-win64/include)
target_link_libraries(zk_core PUBLIC ${ZK_DEPS}/minizip-win64/lib/libminizip.a ZLIB::ZLIB)
target_compile_definitions(zk_core PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

add_library(zk_win32 STATIC
  platform/win32/files_win32.cpp platform/win32/system_win32.cpp platform/win32/win32_runtime.cpp
  platform/win32/http_win32.cpp platform/win32/network_win32.cpp)
include(cmake/delay_import.cmake)
zk_delay_import(ZK_DELAYED wininet comdlg32 iphlpapi ws2_32 msimg32)
target_link_libraries(zk_win32 PUBLIC zk_core ${ZK_DELAYED} advapi32)
# Shortcuts and shell verbs through COM.
target_sources(zk_win32 PRIVATE platform/win32/shell_links_win32.cpp)
target_link_libraries(zk_win32 PUBLIC ole32 oleaut32 uuid)

# The windows: views only, shared by the program and the Windows-side tests.
add_library(zk_ui STATIC
  ui/form.cpp ui/art.cpp ui/main_window.cpp ui/settings_window.cpp ui/about_window.cpp ui/web_view.cpp
  ui/editor_window.cpp ui/search_window.cpp ui/add_entry_window.cpp ui/bandwidth_window.cpp
  ui/dns_window.cpp ui/ping_window.cpp ui/external_ip_window.cpp ui/web_ping_window.cpp
  ui/edit_limits.cpp ui/personal_window.cpp ui/share_window.cpp)
# The editing component, built by scripts/bootstrap.sh from Debian's scite source package.
target_include_directories(zk_ui PUBLIC ${ZK_DEPS}/scintilla-win64/include)
target_link_libraries(zk_ui PUBLIC zk_win32 ${ZK_DEPS}/scintilla-win64/lib/libscintilla.a comctl32 gdiplus shlwapi
  ole32 oleaut32 ${ZK_DELAYED} uuid imm32 gdi32 user32)

add_executable(Zelkora WIN32 app/main_win32.cpp resources/zelkora.rc)
target_link_libraries(Zelkora PRIVATE zk_ui)
# The official cloud's index file and the maker's web site; one installation can point elsewhere
# with the System.btx key YDSY.
set(ZK_CLOUD_INDEX_URL "http://cloud.zelkora.example/kpr.css" CACHE STRING "Index file of the official cloud")
set(ZK_WEBSITE "http://www.zelkora.example" CACHE STRING "The maker's web site")
# The program's own page on that site: the share texts, the web buttons and the QR code carry it.
set(ZK_OFFICIAL_PAGE_URL "${ZK_WEBSITE}/Under/Kpr/index.html")
target_compile_definitions(Zelkora PRIVATE ZK_CLOUD_INDEX_URL="${ZK_CLOUD_INDEX_URL}" ZK_WEBSITE="${ZK_WEBSITE}"
  ZK_OFFICIAL_PAGE_URL="${ZK_OFFICIAL_PAGE_URL}")
# The QQ nickname and avatar services of a customised copy; one installation can point elsewhere
# with the System.btx keys NCFW and TXFW.
set(ZK_QQ_NICKNAME_URL "http://r.qzone.qq.com" CACHE STRING "Base address of the QQ nickname service")
set(ZK_QQ_AVATAR_URL "http://q1.qlogo.cn" CACHE STRING "Base address of the QQ avatar service")
target_compile_definitions(Zelkora PRIVATE ZK_QQ_NICKNAME_URL="${ZK_QQ_NICKNAME_URL}"
  ZK_QQ_AVATAR_URL="${ZK_QQ_AVATAR_URL}")
# No link time in the PE header: two builds of the same sources give the same bytes.
target_link_options(Zelkora PRIVATE -municode -s -Wl,--no-insert-timestamp)
set_source_files_properties(resources/zelkora.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/zelkora.manifest;${CMAKE_SOURCE_DIR}/resources/zelkora.ico;${CMAKE_SOURCE_DIR}/resources/emoji.cur;${CMAKE_SOURCE_DIR}/resources/default_avatar.png")
# The QR code of the official page, made at build time: qrencode draws it and ImageMagick makes
# it a JPEG without metadata, so that two builds give the same bytes. The tools by their system
# paths.
find_program(ZK_QRENCODE qrencode PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
find_program(ZK_IMAGEMAGICK convert PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(ZK_SHARE_QR "${CMAKE_BINARY_DIR}/share_qr.jpg")
add_custom_command(OUTPUT "${ZK_SHARE_QR}"
  COMMAND "${ZK_QRENCODE}" -t PNG -l M -s 8 -m 2 -o "${CMAKE_BINARY_DIR}/share_qr.png" "${ZK_OFFICIAL_PAGE_URL}"
  COMMAND "${ZK_IMAGEMAGICK}" "${CMAKE_BINARY_DIR}/share_qr.png" -strip -quality 92 "${ZK_SHARE_QR}"
  COMMENT "QR code of ${ZK_OFFICIAL_PAGE_URL}" VERBATIM)
set_property(SOURCE resources/zelkora.rc APPEND PROPERTY OBJECT_DEPENDS "${ZK_SHARE_QR}")
set_property(SOURCE resources/zelkora.rc APPEND PROPERTY INCLUDE_DIRECTORIES "${CMAKE_BINARY_DIR}")

# GoogleTest built with this toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

enable_testing()
file(GLOB ZK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(zk_win_tests ${ZK_WIN_TESTS})
target_link_libraries(zk_win_tests PRIVATE zk_ui gtest gtest_main ws2_32)
target_include_directories(zk_win_tests SYSTEM PRIVATE ${ZK_DEPS}/minizip-win64/include)
add_test(NAME win_platform COMMAND zk_win_tests)

add_executable(zk_recorder tests/e2e/recorder.cpp)
target_link_options(zk_recorder PRIVATE -municode)

add_executable(zk_driver tests/e2e/driver.cpp)
target_link_libraries(zk_driver PRIVATE zk_core gdi32 gdiplus ole32)
target_link_options(zk_driver PRIVATE -municode)
# Test data shared with the native tests, reached through Wine's drive for the root folder.
target_compile_definitions(zk_win_tests PRIVATE ZK_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data/")
