# The tests of the Windows build: the unit tables on the in-memory file system and the
# dialog's model window, and integration tests on the Win32 file system and the real
# varnok.exe. They run under CMAKE_CROSSCOMPILING_EMULATOR (Wine) when cross-built.
# GoogleTest is built from the sources Debian ships (libgtest-dev).
set(VARNOK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VARNOK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_library(varnok_test_support STATIC
  support/MemoryFileSystem.cpp
  support/ScriptedPresenter.cpp
  support/ModelTestMain.cpp
  support/win32/WinTempDir.cpp
  support/win32/WindowProbe.cpp
)
target_include_directories(varnok_test_support PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_compile_options(varnok_test_support PRIVATE ${VARNOK_WARNINGS})
target_link_libraries(varnok_test_support PUBLIC varnok_lib gtest)

# DESKTOP: the tests show windows and press keys, which go to whatever window is in front:
# they run one at a time.
function(varnok_test name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "DESKTOP" "" "")
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  varnok_add_win32_resources(${name})
  target_compile_options(${name} PRIVATE ${VARNOK_WARNINGS})
  # setenv and friends, which the tests use to set the time zone
  target_compile_options(${name} PRIVATE -include ${CMAKE_CURRENT_SOURCE_DIR}/support/win32/PosixShim.h)
  target_compile_definitions(${name} PRIVATE VARNOK_EXE="$<TARGET_FILE_NAME:varnok>")
  target_link_libraries(${name} PRIVATE varnok_test_support)
  add_dependencies(${name} varnok)
  # Discovery runs the test program under Wine: at test time, where Wine is ready.
  if(ARG_DESKTOP)
    set(lock PROPERTIES RESOURCE_LOCK desktop)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${lock})
endfunction()

varnok_test(unit_tests ${VARNOK_UNIT_TESTS})
varnok_test(win32_tests
  integration/Win32FileSystemTest.cpp
  integration/Win32ProcessTest.cpp
  integration/Win32ResourcesTest.cpp
)
target_link_libraries(win32_tests PRIVATE version)  # GetFileVersionInfoW
varnok_test(win32_gui_tests DESKTOP
  integration/Win32DialogTest.cpp
)
