find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB support_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(lumo_test_support STATIC ${support_srcs})
target_include_directories(lumo_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support)
target_link_libraries(lumo_test_support PUBLIC lumo_platform GTest::gtest GTest::gmock)
target_compile_definitions(lumo_test_support PRIVATE
  LUMO_TEST_ASSETS_DIR="${LUMO_GENERATED_ASSETS}"
  LUMO_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  LUMO_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}")

# The environment of the end-to-end tests; the GoogleTest programs set theirs
# in their main (leak suppressions are compiled in).
set(LUMO_TEST_ENV
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "SDL_AUDIODRIVER=dummy"
  "LIBGL_ALWAYS_SOFTWARE=1"
  "LUMO_ASSETS=${LUMO_GENERATED_ASSETS}"
  "LUMO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "LUMO_BINARY_DIR=${CMAKE_BINARY_DIR}"
  "XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state"
  # The tester's own preferences and recordings must not change what a test hears.
  "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config"
  "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-data")

# One test program per module, linked against that module only.
foreach(module platform common scene2d scene3d book app)
  file(GLOB_RECURSE test_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${module}/*.cpp)
  if(test_srcs)
    add_executable(test_${module} ${test_srcs})
    target_link_libraries(test_${module} PRIVATE lumo_${module} lumo_test_support
                                                 nlohmann_json::nlohmann_json)
    gtest_discover_tests(test_${module} DISCOVERY_TIMEOUT 60)
  endif()
endforeach()

# The 3D engine's maths is checked against glm, a reference for the tests only.
find_package(glm REQUIRED)
target_link_libraries(test_scene3d PRIVATE glm::glm)

# End-to-end tests drive the real program headless.
file(GLOB e2e_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.sh)
foreach(script ${e2e_scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e_${name} COMMAND bash ${script} $<TARGET_FILE:lumo-book>
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # Scripts that read through the book render thousands of frames under the
  # sanitizers; a machine shared with other work needs the headroom.
  set_tests_properties(e2e_${name} PROPERTIES ENVIRONMENT "${LUMO_TEST_ENV}" TIMEOUT 1200)
endforeach()
# The random reader draws three virtual minutes frame by frame: about 13 to 17
# minutes under the sanitizers on two busy cores.
set_tests_properties(e2e_monkey PROPERTIES TIMEOUT 2400)

# The platform's internal headers are out of every other module's reach: the
# compiler, given the include path of the modules above the platform, cannot
# find one, while a public platform header compiles.
set(lumo_upper_includes)
foreach(target lumo_platform lumo_common lumo_scene2d lumo_scene3d lumo_book lumo_app)
  list(APPEND lumo_upper_includes "-I$<JOIN:$<TARGET_PROPERTY:${target},INTERFACE_INCLUDE_DIRECTORIES>,$<SEMICOLON>-I>")
endforeach()
foreach(kind public internal)
  add_test(NAME boundary_platform_${kind}
           COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -fsyntax-only ${lumo_upper_includes}
                   ${CMAKE_SOURCE_DIR}/tests/boundary/uses_platform_${kind}.cpp
           COMMAND_EXPAND_LISTS)
endforeach()
set_tests_properties(boundary_platform_internal PROPERTIES
                     PASS_REGULAR_EXPRESSION "GLDisplay.h: No such file or directory")
