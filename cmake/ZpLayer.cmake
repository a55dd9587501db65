# The headers of src/<dir> as "<dir>/x.h", and nothing else: a folder of the
# build that holds one link, to src/<dir>. A target given this folder cannot
# reach the headers of another layer by accident; it sees them only through
# the layers it links.
function(zp_layer_headers target scope dir)
  set(inc ${PROJECT_BINARY_DIR}/layers/${dir})
  file(MAKE_DIRECTORY ${inc})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${dir} ${inc}/${dir} SYMBOLIC)
  target_include_directories(${target} ${scope} ${inc})
endfunction()

# Every layer is one library made of all .cpp files in its folder, so adding a
# class never means editing the build. Layers link downwards only, and a layer
# exposes only its own headers: an include of a layer above or beside it does
# not compile (tests/layers checks that).
function(zp_layer name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/src/${dir}/*.h)
  add_library(${name} STATIC ${srcs})
  # An empty layer still has to be a valid target for the layers above it.
  if(NOT srcs)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  zp_layer_headers(${name} PUBLIC ${dir})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# One test executable per tests/<dir>, discovered by ctest when the tests run
# (not at build time), always on the offscreen platform.
function(zp_test_dir dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  set(exe zp_test_${dir})
  add_executable(${exe} ${srcs} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
  target_link_libraries(${exe} PRIVATE zp_fixtures GTest::gtest GTest::gmock Qt6::Test ${ARG_DEPS})
  gtest_discover_tests(${exe}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZP_SOURCE_DIR=${PROJECT_SOURCE_DIR}" TIMEOUT 300)
endfunction()
