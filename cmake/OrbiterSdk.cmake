# The build for the simulator itself (on Windows, with the Microsoft compiler or clang-cl): just the two
# plug-ins, against the SDK's include/ and lib/ folders; no host, no tests, no Qt. `cmake --install` lays the
# add-on out as in the simulator's folder.
if(MSVC)
  # Conformance mode: a string literal is const, as the SDK's char* parameters need.
  add_compile_options(/W4 /permissive-)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
else()
  add_compile_options(-Wall -Wextra -Werror=write-strings)
endif()

# The core's import library and the SDK's module library that every module links.
find_library(ORBITER_CORE_LIBRARY NAMES Orbiter PATHS ${ORBITER_SDK_DIR}/lib NO_DEFAULT_PATH REQUIRED)
find_library(ORBITER_MODULE_LIBRARY NAMES Orbitersdk PATHS ${ORBITER_SDK_DIR}/lib NO_DEFAULT_PATH REQUIRED)
add_library(host_api INTERFACE)
target_include_directories(host_api SYSTEM INTERFACE ${ORBITER_SDK_DIR}/include) # its warnings are not ours
target_link_libraries(host_api INTERFACE ${ORBITER_MODULE_LIBRARY} ${ORBITER_CORE_LIBRARY}) # the module library uses the core

function(orb_add_module name)
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE host_api)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
endfunction()

add_subdirectory(teski_common)
add_subdirectory(missile)
add_subdirectory(wreck)

include(cmake/AddonInstall.cmake)
teski_install_addon(MODULES Teski TeskiWreck)
