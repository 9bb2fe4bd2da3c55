# Build-time options. The defaults suit a developer's tree; CI picks the lean variants
# (scripts/build, scripts/fuzz) because a clean two-core run has to fit its time budget.
option(ORVANTA_PCH "Precompile the Qt, STL and test framework headers" ON)
option(ORVANTA_UNITY_TESTS "Compile the test programs as unity batches" ON)
set(ORVANTA_UNITY_BATCH 8 CACHE STRING "Test sources per unity batch")
set(ORVANTA_TEST_OPTIMIZE "" CACHE STRING "Optimisation flag for the test programs' own code (empty: the build type's)")
set(ORVANTA_DEBUG_INFO full CACHE STRING "Debug information in optimised builds: full, lines or none")
set_property(CACHE ORVANTA_DEBUG_INFO PROPERTY STRINGS full lines none)

# Debug information is most of what the compiler writes and the linker reads for the
# big test programs; a CI run only needs line tables for the sanitizers' stack traces.
if(NOT ORVANTA_DEBUG_INFO STREQUAL "full")
  if(ORVANTA_DEBUG_INFO STREQUAL "lines")
    set(orv_g "-g1")
  elseif(ORVANTA_DEBUG_INFO STREQUAL "none")
    set(orv_g "-g0")
  else()
    message(FATAL_ERROR "ORVANTA_DEBUG_INFO must be full, lines or none")
  endif()
  foreach(config DEBUG RELWITHDEBINFO)
    foreach(lang C CXX)
      string(REGEX REPLACE "(^| )-g[0-9]?( |$)" " " CMAKE_${lang}_FLAGS_${config} "${CMAKE_${lang}_FLAGS_${config}}")
      string(APPEND CMAKE_${lang}_FLAGS_${config} " ${orv_g}")
    endforeach()
  endforeach()
endif()

# Headers nearly every translation unit parses. A precompiled set is built once per kind
# of target and reused by every other target of that kind: the kinds differ in the Qt
# modules they see (and so in the definitions the precompiled state was made with).
set(ORV_PCH_CORE <algorithm> <functional> <map> <memory> <optional> <string> <vector>
  <QByteArray> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QObject> <QString> <QStringList>
  <QVariant>)
set(ORV_PCH_GUI ${ORV_PCH_CORE} <QApplication> <QComboBox> <QImage> <QLabel> <QLineEdit>
  <QListWidget> <QPainter> <QPushButton> <QWidget>)
set(ORV_PCH_TEST <gtest/gtest.h> <gmock/gmock.h> <QBuffer> <QTemporaryDir>)

# ccache only reuses a compilation that used a precompiled header when told that the
# header's definitions and time macros are safe to trust.
if(ORVANTA_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  foreach(lang C CXX)
    set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
      ${CMAKE_${lang}_COMPILER_LAUNCHER})
  endforeach()
endif()

# Whether a target sees Qt Widgets: it links Widgets itself, or a library that does.
function(orv_sees_widgets out)
  get_property(gui_targets GLOBAL PROPERTY ORV_GUI_TARGETS)
  set(result FALSE)
  foreach(dep IN LISTS ARGN)
    if(dep STREQUAL "Qt6::Widgets" OR dep MATCHES "LINK_GROUP" OR dep IN_LIST gui_targets)
      set(result TRUE)
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# orv_precompile(<target> <kind>): the first target of a kind builds the precompiled
# headers, the later ones reuse them.
function(orv_precompile target kind)
  if(NOT ORVANTA_PCH)
    return()
  endif()
  get_property(owner GLOBAL PROPERTY ORV_PCH_OWNER_${kind})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
    return()
  endif()
  set(headers ${ORV_PCH_CORE})
  if(kind MATCHES "gui|widgets")
    set(headers ${ORV_PCH_GUI})
  endif()
  if(kind MATCHES "^test")
    list(APPEND headers ${ORV_PCH_TEST})
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
  set_property(GLOBAL PROPERTY ORV_PCH_OWNER_${kind} ${target})
endfunction()

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
    orv_sees_widgets(gui ${ARG_DEPS})
    if(gui)
      set_property(GLOBAL APPEND PROPERTY ORV_GUI_TARGETS orv_${name})
      orv_precompile(orv_${name} lib_gui)
    else()
      orv_precompile(orv_${name} lib_core)
    endif()
  else()
    add_library(orv_${name} INTERFACE)
    target_include_directories(orv_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(orv_${name} INTERFACE ${ARG_DEPS})
    orv_sees_widgets(gui ${ARG_DEPS})
    if(gui)
      set_property(GLOBAL APPEND PROPERTY ORV_GUI_TARGETS orv_${name})
    endif()
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
  # The code under test keeps the build type's optimisation; the tests' own code is mostly
  # set-up and checks, which a lean build can compile at a lower level.
  if(ORVANTA_TEST_OPTIMIZE)
    target_compile_options(${target} PRIVATE ${ORVANTA_TEST_OPTIMIZE})
  endif()
  # A folder's tests share the headers they include, so batches of them compile as one
  # unit; sources in one batch must not define the same internal names.
  if(ORVANTA_UNITY_TESTS)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON
      UNITY_BUILD_BATCH_SIZE ${ORVANTA_UNITY_BATCH})
    # A fixture in an unnamed namespace is file-local as intended; inside a batch GCC
    # takes the source for a header and warns about every test derived from it.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
  # The gui main brings Qt Test, whose definitions name the test folder; a core main that
  # links window code sees Widgets without Qt Test.
  orv_sees_widgets(gui ${ARG_LIBS})
  if(ARG_MAIN STREQUAL "gui")
    orv_precompile(${target} test_gui)
  elseif(gui)
    orv_precompile(${target} test_widgets)
  else()
    orv_precompile(${target} test_core)
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
