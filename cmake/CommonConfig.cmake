# Shared compile settings of every Veltrin target: link veltrin_settings privately.
add_library(veltrin_settings INTERFACE)
target_compile_options(veltrin_settings INTERFACE
  -Wall -Wextra -Wpedantic
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
  $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> $<$<CXX_COMPILER_ID:Clang>:-Wshadow-uncaptured-local>
  -Wcast-qual -Wformat=2)
target_compile_definitions(veltrin_settings INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_FOREACH)
if(VELTRIN_WERROR)
  target_compile_options(veltrin_settings INTERFACE -Werror)
endif()

if(VELTRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELTRIN_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# veltrin_add_test(NAME SOURCES ... LIBS ... [GUI] [LABEL label])
# LABEL replaces "unit" for non-GUI tests that the sanitizer run must leave out (e.g. "device" for
# tests of real sound devices, whose system plugins leak by design).
# GUI tests get a main that creates a QApplication (offscreen unless QT_QPA_PLATFORM says otherwise)
# and are labelled "gui"; the rest are labelled "unit" and also run under the sanitizers.
function(veltrin_add_test name)
  cmake_parse_arguments(ARG "GUI" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE veltrin_test_gui_main)
    set(label gui)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    if(ARG_LABEL)
      set(label ${ARG_LABEL})
    else()
      set(label unit)
      set_property(GLOBAL APPEND PROPERTY VELTRIN_UNIT_TEST_TARGETS ${name})
    endif()
  endif()
  target_link_libraries(${name} PRIVATE veltrin_settings GTest::gtest GTest::gmock ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE VELTRIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${label})
endfunction()
