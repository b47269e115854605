# Conventions of the source tree:
#   src/<sub>/*.cpp        platform-free code of a subsystem -> static library pelo_<sub> (both platforms)
#   src/<sub>/win/*.cpp    its Win32 layer                    -> static library pelo_<sub>_win (Windows only)
#   tests/unit/<sub>/*.cpp unit tests                         -> test executable unit_<sub>

# -Wno-restrict: GCC 12 reports false overlaps inside std::string at -O2 and above.
set(PELO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wno-missing-field-initializers -Wno-restrict)

if(WIN32)
  set(PELO_WINDOWS ON)
  # Fully static: the programs then import nothing but system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
  set(PELO_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
  set(PELO_TEST_DIR ${CMAKE_BINARY_DIR}/tests)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/tools/wine/run)
  endif()
else()
  set(PELO_WINDOWS OFF)
  set(PELO_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
  set(PELO_TEST_DIR ${CMAKE_BINARY_DIR}/tests)
  if(PELO_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

# pelo_core_library(<sub> [DEPS lib...] [WIN_DEPS lib...] [SYSTEM_LIBS lib...] [NO_WIN_LIBRARY]):
#   src/<sub>/*.cpp     -> pelo_<sub>      (platform-free, both platforms), linked to DEPS
#   src/<sub>/win/*.cpp -> pelo_<sub>_win  (Windows only), linked to pelo_<sub>, WIN_DEPS and the system's SYSTEM_LIBS
# Every library declares what it uses, so a link needs no library twice and an include that runs against the
# declared order stands out (tools/check-layers checks the includes themselves). A folder without sources still
# gets its targets, as an interface library, so that the folders above it can name it already.
# NO_WIN_LIBRARY: the folder's win/ files make a program of their own (src/app).
function(pelo_core_library sub)
  cmake_parse_arguments(ARG "NO_WIN_LIBRARY" "" "DEPS;WIN_DEPS;SYSTEM_LIBS" ${ARGN})
  pelo_library_from(pelo_${sub} "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${ARG_DEPS}")
  if(PELO_WINDOWS AND NOT ARG_NO_WIN_LIBRARY)
    pelo_library_from(pelo_${sub}_win "${CMAKE_CURRENT_SOURCE_DIR}/win/*.cpp"
                      "pelo_${sub};${ARG_WIN_DEPS};${ARG_SYSTEM_LIBS}")
  endif()
endfunction()

# pelo_library_from(<target> <glob> <deps>): a static library of the files matching glob, or an interface library
# when there are none.
function(pelo_library_from target pattern deps)
  file(GLOB _src CONFIGURE_DEPENDS ${pattern})
  if(_src)
    add_library(${target} STATIC ${_src})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${target} PRIVATE ${PELO_WARNINGS})
    if(deps)
      target_link_libraries(${target} PUBLIC ${deps})
    endif()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    if(deps)
      target_link_libraries(${target} INTERFACE ${deps})
    endif()
  endif()
endfunction()

# pelo_unit_test(<sub> [LIBS lib...]): tests/unit/<sub>/*.cpp -> unit_<sub>, registered with CTest.
# Under MinGW the tests run through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(pelo_unit_test sub)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(unit_${sub} ${_src})
  target_link_libraries(unit_${sub} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_options(unit_${sub} PRIVATE ${PELO_WARNINGS})
  set_target_properties(unit_${sub} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PELO_TEST_DIR})
  target_compile_definitions(unit_${sub} PRIVATE PELO_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data")
  add_test(NAME unit_${sub} COMMAND unit_${sub} --gtest_brief=1
           WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  set_tests_properties(unit_${sub} PROPERTIES LABELS unit)
endfunction()
