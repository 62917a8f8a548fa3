include(GoogleTest)

# add_tarvello_test(NAME <name> SOURCES <files...> DEPENDS <targets...> [GUI])
# GUI tests use Qt Test and run on the offscreen platform; the others use GoogleTest.
function(add_tarvello_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/pinlocale.cpp)
  target_link_libraries(${T_NAME} PRIVATE tarvello_flags ${T_DEPENDS})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test tarvello_testsupport)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVELLO_TEST_BIN=${TARVELLO_OUTPUT_DIR}"
      TIMEOUT 300)
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVELLO_TEST_BIN=${TARVELLO_OUTPUT_DIR}")
  endif()
endfunction()
