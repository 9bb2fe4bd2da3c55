# orv_library(<name> <folder> DEPS <targets...>)
# Builds every .cpp below <folder> into the static library orv_<name>. A folder without
# sources yet gives an interface library, so the layout can exist before its code.
function(orv_library name folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h
    ${CMAKE_SOURCE_DIR}/${folder}/*.qrc)
  set(has_cpp FALSE)
  foreach(s IN LISTS sources)
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(orv_${name} STATIC ${sources})
    target_include_directories(orv_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(orv_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(orv_${name} INTERFACE)
    target_include_directories(orv_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(orv_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# orv_tests(<folder> MAIN core|gui LIBS <targets...>)
# One GoogleTest executable per test folder, from every .cpp in tests/<folder>.
# MAIN core runs the tests under a QCoreApplication (no window system at all); gui under a
# QApplication on the offscreen platform.
function(orv_tests folder)
  cmake_parse_arguments(ARG "" "MAIN" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/tests/${folder}/*.h)
  if(NOT sources)
    return()
  endif()
  if(NOT ARG_MAIN)
    set(ARG_MAIN gui)
  endif()
  set(target tests_${folder})
  string(REPLACE "/" "_" target ${target})
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE orv_testsupport_${ARG_MAIN} ${ARG_LIBS}
    GTest::gtest GTest::gmock)
  target_compile_definitions(${target} PRIVATE
    ORV_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ORV_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
    ORV_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
