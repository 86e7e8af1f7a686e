# The release archive for Windows users: Tasklark-<version>-win64.zip with
# both programs, the README and the example command set. Made by
# `cpack --config <build>/CPackConfig.cmake` (tools/dev.sh package).
install(TARGETS Tasklark larkedit RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/example-set.dat DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tasklark)
set(CPACK_PACKAGE_VENDOR "the Tasklark developers")
set(CPACK_PACKAGE_FILE_NAME Tasklark-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_STRIP_FILES OFF)  # the programs are linked stripped already
include(CPack)

# The archive holds exactly these files, the programs as built.
add_test(NAME package_contents
  COMMAND ${CMAKE_COMMAND}
          -D BUILD_DIR=${CMAKE_BINARY_DIR}
          -D ARCHIVE=${CMAKE_BINARY_DIR}/package/Tasklark-${PROJECT_VERSION}-win64.zip
          -D TOP=Tasklark-${PROJECT_VERSION}-win64
          -P ${CMAKE_SOURCE_DIR}/cmake/check-package.cmake)
