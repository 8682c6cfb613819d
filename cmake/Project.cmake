# Helpers shared by every folder's CMakeLists.txt.

# Real meter telegrams live beside the checkout, in a folder of shared/corpus/ that holds test-frames/,
# error-frames/ and unsupported-frames/. Tests and benchmarks get its path as TELEGRAM_CORPUS_DIR.
if(NOT TELEGRAM_CORPUS_DIR)
  file(GLOB _corpus_frames LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/../shared/corpus/*/test-frames")
  if(_corpus_frames)
    list(GET _corpus_frames 0 _corpus_first)
    get_filename_component(_corpus_dir "${_corpus_first}" DIRECTORY)
    get_filename_component(_corpus_dir "${_corpus_dir}" ABSOLUTE)
  else()
    set(_corpus_dir "${CMAKE_SOURCE_DIR}/../shared/corpus/missing")
  endif()
  set(TELEGRAM_CORPUS_DIR "${_corpus_dir}" CACHE PATH "Folder with the real telegram files (test-frames/ ...)")
endif()

# Precompiled headers: the standard and Qt headers most files include are parsed once per target instead of
# once per file. A target of a few files builds its header for little gain, so only larger ones get it. Off by
# default: a cold build (CI) gains most, and turning it on changes every compile command, so that a warm
# compiler cache starts over once.
option(CONFIGURATOR_PCH "Precompile the common standard and Qt headers in targets of many files" OFF)
function(project_precompile name header)
  if(NOT CONFIGURATOR_PCH)
    return()
  endif()
  get_target_property(srcs ${name} SOURCES)
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  list(LENGTH srcs count)
  if(count LESS 4)
    return()
  endif()
  target_precompile_headers(${name} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${PROJECT_SOURCE_DIR}/cmake/pch/${header}>")
endfunction()

# project_library(NAME DEPS dep... [SOURCES ...])
# One static library per folder, from every .cpp/.h directly in the calling folder.
function(project_library name)
  cmake_parse_arguments(PL "" "" "DEPS;SOURCES" ${ARGN})
  if(PL_SOURCES)
    set(srcs ${PL_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  list(FILTER srcs INCLUDE REGEX "\\.cpp$")
  if(NOT srcs)
    # A folder whose code is still to come builds an empty library, so that others can already link it.
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${stub} "namespace { [[maybe_unused]] int ${name}_empty; }\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${PL_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  project_precompile(${name} project_pch.h)
endfunction()

option(CONFIGURATOR_TESTS_O0 "Compile the test programs' own code without optimisation (faster cold builds)" OFF)

# project_tests(NAME [GUI] [LABEL unit|e2e] [TIMEOUT s] DEPS dep... [SOURCES ...])
# One GoogleTest executable from every .cpp in the calling folder (a tests/ folder), registered with CTest.
# GUI tests get a QApplication on the offscreen platform through platform_testing_gui.
function(project_tests name)
  if(NOT CONFIGURATOR_TESTS)
    return()
  endif()
  cmake_parse_arguments(PT "GUI" "LABEL;TIMEOUT" "DEPS;SOURCES" ${ARGN})
  if(PT_SOURCES)
    set(srcs ${PT_SOURCES})
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT PT_LABEL)
    set(PT_LABEL unit)
  endif()
  if(NOT PT_TIMEOUT)
    set(PT_TIMEOUT 300)
  endif()
  add_executable(${name} ${srcs})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  if(PT_GUI)
    target_link_libraries(${name} PRIVATE ${PT_DEPS} platform_testing_gui GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${PT_DEPS} platform_testing GTest::gtest GTest::gmock)
  endif()
  target_compile_definitions(${name} PRIVATE
    TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    TEST_CORPUS_DIR="${TELEGRAM_CORPUS_DIR}"
    TEST_BINARY_DIR="${CMAKE_CURRENT_BINARY_DIR}")
  # No precompiled header for test programs: measured on cold builds, loading the test header (Qt widgets, the
  # test frameworks) costs a test file about what parsing it does, and each program paid some 17 s to build its
  # own. A cold build (CI) may compile the test code unoptimised: the code under test is in the libraries.
  if(CONFIGURATOR_TESTS_O0)
    target_compile_options(${name} PRIVATE -O0)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS ${PT_LABEL} TIMEOUT ${PT_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
