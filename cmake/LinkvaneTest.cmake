# lv_add_test(name LABEL label SOURCES ... LIBS ...): one GoogleTest executable per area.
# Every test runs with the offscreen Qt platform, a pinned locale, and knows where the shared
# real-world test files are (tests skip with a message when that folder is absent).
set(LV_TESTDATA_DIR "${PROJECT_SOURCE_DIR}/../shared/testdata" CACHE PATH "shared real-world test files")
set(LV_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "LC_ALL=C.UTF-8"
    "LINKVANE_TESTDATA=${LV_TESTDATA_DIR}"
    "LINKVANE_FIXTURES=${PROJECT_SOURCE_DIR}/tests/data"
    "LINKVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    "LINKVANE_BUILD_DIR=${PROJECT_BINARY_DIR}"
    "ASAN_OPTIONS=detect_leaks=0"
    "UBSAN_OPTIONS=print_stacktrace=1")

# Tests with these labels talk to servers and browsers: they run in a private network namespace
# with only loopback (tests/support/netns-run), and are skipped where none can be made.
set(LV_NETNS_RUN "${PROJECT_SOURCE_DIR}/tests/support/netns-run")
set(LV_NETNS_LABELS net e2e)

# lv_test_launcher(label out): the command words a test of that label starts under.
function(lv_test_launcher label out)
  if(label IN_LIST LV_NETNS_LABELS)
    set(${out} "${LV_NETNS_RUN}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

function(lv_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} lv_testsupport GTest::gtest GTest::gmock
                                        GTest::gtest_main)
  # gtest_discover_tests splits a list-valued ENVIRONMENT property into separate properties, so
  # the environment reaches each test through `env` as its launcher instead.
  lv_test_launcher("${ARG_LABEL}" launcher)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${launcher};env;${LV_TEST_ENV}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABEL}" SKIP_RETURN_CODE 77)
endfunction()

# lv_area_tests(area LABEL label LIBS ...): every .cpp in tests/<area> becomes test_<area>.
function(lv_area_tests area)
  cmake_parse_arguments(ARG "" "LABEL" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${area}/*.cpp)
  lv_add_test(test_${area} LABEL ${ARG_LABEL} SOURCES ${sources} LIBS ${ARG_LIBS})
endfunction()
