# Shared build rules: every folder is one library made from the sources it holds, and
# every tests/<folder>/test_*.cpp is one test program, so adding a file needs no CMake edit.

# tamvo_library(<target> [SHARED] LINKS <libs...>)
function(tamvo_library target)
  cmake_parse_arguments(ARG "SHARED" "" "LINKS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdr CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB _qrc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT _src)
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    return()
  endif()
  if(ARG_SHARED)
    add_library(${target} SHARED ${_src} ${_hdr} ${_qrc})
  else()
    add_library(${target} STATIC ${_src} ${_hdr} ${_qrc})
  endif()
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()

# tamvo_tests(<folder> LINKS <libs...>): one CTest test per test_*.cpp in tests/<folder>.
function(tamvo_tests folder)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/test_*.cpp)
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    set(_exe ${folder}_${_name})
    add_executable(${_exe} ${_t})
    target_link_libraries(${_exe} PRIVATE ${ARG_LINKS} tamvo_testsupport Qt6::Test)
    add_test(NAME ${folder}.${_name} COMMAND ${_exe})
    set_tests_properties(${folder}.${_name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAMVO_INSTANCE_KEY=test-${_exe};${TAMVO_TEST_ENVIRONMENT}"
      TIMEOUT 600)
  endforeach()
endfunction()
