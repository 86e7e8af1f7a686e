# Robustness tests of the real programs: bad set files, save faults and a
# load of messages, in a program of their own (robust_*_test.cpp). Their long
# form (TASKLARK_ROBUSTNESS=long) takes about 4 minutes, well in the limit.
tasklark_add_e2e(robust_e2e "robust_*_test.cpp" Tasklark larkedit)
if(NOT TARGET robust_e2e)
  return()
endif()

# A small file system for the test of a disk that fills up during a save,
# mounted for the run where the machine allows it (root under Linux); the
# test is skipped where there is none.
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  set(SMALL_DISK ${CMAKE_BINARY_DIR}/small-disk)
  add_test(NAME small_disk_mount COMMAND ${CMAKE_SOURCE_DIR}/tools/small-disk mount ${SMALL_DISK})
  add_test(NAME small_disk_unmount COMMAND ${CMAKE_SOURCE_DIR}/tools/small-disk unmount ${SMALL_DISK})
  set_tests_properties(small_disk_mount PROPERTIES FIXTURES_SETUP small_disk TIMEOUT 60)
  set_tests_properties(small_disk_unmount PROPERTIES FIXTURES_CLEANUP small_disk TIMEOUT 60)
  set_tests_properties(robust_e2e PROPERTIES
    FIXTURES_REQUIRED "wine;small_disk"
    ENVIRONMENT "TASKLARK_SMALL_DISK=${SMALL_DISK}")
endif()
