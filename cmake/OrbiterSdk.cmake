# The build for the simulator itself: just the two plug-ins, against the SDK's include/ and lib/ folders; no
# host, no tests, no Qt. `cmake --install` lays the add-on out as in the simulator's folder.
#
# On Windows (the Microsoft compiler or clang-cl) a plug-in is Modules/<Name>.dll and links the core's import
# library. The simulator's Linux port loads Modules/lib<Name>.so, and its core functions come from the program
# itself: there a plug-in links the module library alone. ORBITER_SDK_INCLUDE_DIR and ORBITER_SDK_LIB_DIR
# name the two folders where an SDK keeps them apart; ORBITER_SDK_BRIDGE names a header included before every
# source, for an SDK whose declarations differ from those the plug-ins are written for.
set(ORBITER_SDK_INCLUDE_DIR "${ORBITER_SDK_DIR}/include" CACHE PATH "The SDK's header folder")
set(ORBITER_SDK_LIB_DIR "${ORBITER_SDK_DIR}/lib" CACHE PATH "The SDK's library folder")
set(ORBITER_SDK_BRIDGE "" CACHE FILEPATH "A header included before every plug-in source")
option(TESKI_REAL_CORE_TOOLS "Also build the tools that fly the plug-ins in the simulator's Linux port" OFF)

if(MSVC)
  # Conformance mode: a string literal is const, as the SDK's char* parameters need.
  add_compile_options(/W4 /permissive-)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
else()
  add_compile_options(-Wall -Wextra -Werror=write-strings)
endif()
if(ORBITER_SDK_BRIDGE)
  include_directories(SYSTEM ${ORBITER_SDK_INCLUDE_DIR}) # the bridge includes the SDK in every source
  if(MSVC)
    add_compile_options(/FI${ORBITER_SDK_BRIDGE})
  else()
    add_compile_options(-include ${ORBITER_SDK_BRIDGE})
  endif()
endif()

# The SDK's module library that every module links, and on Windows the core's import library it uses.
find_library(ORBITER_MODULE_LIBRARY NAMES Orbitersdk PATHS ${ORBITER_SDK_LIB_DIR} NO_DEFAULT_PATH REQUIRED)
add_library(host_api INTERFACE)
target_include_directories(host_api SYSTEM INTERFACE ${ORBITER_SDK_INCLUDE_DIR}) # its warnings are not ours
target_link_libraries(host_api INTERFACE ${ORBITER_MODULE_LIBRARY})
if(WIN32)
  find_library(ORBITER_CORE_LIBRARY NAMES Orbiter PATHS ${ORBITER_SDK_LIB_DIR} NO_DEFAULT_PATH REQUIRED)
  target_link_libraries(host_api INTERFACE ${ORBITER_CORE_LIBRARY}) # the module library uses the core
endif()

function(orb_add_module name)
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE host_api)
  if(WIN32)
    set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  endif()
endfunction()

add_subdirectory(teski_common)
add_subdirectory(missile)
add_subdirectory(wreck)

include(cmake/AddonInstall.cmake)
teski_install_addon(MODULES Teski TeskiWreck)
if(TESKI_REAL_CORE_TOOLS)
  add_subdirectory(tests/realcore)
endif()
