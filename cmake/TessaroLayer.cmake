# tessaro_layer(<name> DEPS <targets...>): a static library from every .cpp in the calling folder.
function(tessaro_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  if(sources MATCHES "\\.cpp")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    target_compile_definitions(${name} PRIVATE
      TESSARO_DATA_DIR="${TESSARO_DATA_DIR}" TESSARO_SOURCE_DATA_DIR="${TESSARO_SOURCE_DATA_DIR}")
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# tessaro_test(<name> DEPS <targets...>): one GoogleTest executable from every .cpp in the calling
# folder, run offscreen through the shared test main that creates a QApplication when Qt is linked.
function(tessaro_test name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  if(NOT sources MATCHES "\\.cpp")
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    TESSARO_SOURCE_DATA_DIR="${TESSARO_SOURCE_DATA_DIR}"
    TESSARO_TEST_OUTPUT_DIR="${PROJECT_BINARY_DIR}/test-output")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
