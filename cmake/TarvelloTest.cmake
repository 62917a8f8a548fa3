include(GoogleTest)

# add_tarvello_test(NAME <name> SOURCES <files...> DEPENDS <targets...> [GUI] [FAULTY_DISK])
# GUI tests use Qt Test and run on the offscreen platform; the others use GoogleTest.
# FAULTY_DISK links the library that lets a test make writes, flushes and renames fail; linked
# ahead of the C library, its functions stand in front of the C library's for the whole process.
function(add_tarvello_test)
  cmake_parse_arguments(T "GUI;FAULTY_DISK" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/pinlocale.cpp)
  if(T_FAULTY_DISK)
    target_link_libraries(${T_NAME} PRIVATE tarvello_faultydisk) # first, so it is found first
  endif()
  target_link_libraries(${T_NAME} PRIVATE tarvello_flags ${T_DEPENDS} tarvello_testfiles)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test tarvello_testsupport)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main)
    # One variable only: a list would be split into separate properties on its way through the
    # generated test script.
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
