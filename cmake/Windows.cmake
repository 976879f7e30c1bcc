# The Windows program and its release archive: varnok.exe with varnok.chm beside it.
add_executable(varnok WIN32 app/main.cpp)
varnok_add_win32_resources(varnok)
add_dependencies(varnok varnok_help)
target_compile_options(varnok PRIVATE ${VARNOK_WARNINGS})
target_link_libraries(varnok PRIVATE varnok_lib)

install(TARGETS varnok RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/varnok.chm DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/cmake/windows-readme.txt DESTINATION . RENAME readme.txt)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VARNOK_WINDOWS_ARCH win64)
else()
  set(VARNOK_WINDOWS_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME varnok)
set(CPACK_PACKAGE_FILE_NAME varnok-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}-${VARNOK_WINDOWS_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build folder
include(CPack)
