# orb_add_module(NAME src...): a vessel plug-in, built against the host API and the module library only, and
# placed in the installation root's Modules/ folder as NAME.so, where the host's module loader looks for it.
function(orb_add_module name)
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE orbapi module_glue)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
                        LIBRARY_OUTPUT_DIRECTORY ${ORB_ROOT}/Modules)
endfunction()

# teski_add_test(NAME src... [LIBS lib...]): a GoogleTest program registered with CTest.
function(teski_add_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       # Two variables through two properties: a list in one would be split on the way.
                       PROPERTIES ENVIRONMENT "TESKI_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
                                  ENVIRONMENT_MODIFICATION "ORB_ROOT=set:${ORB_ROOT}")
endfunction()
