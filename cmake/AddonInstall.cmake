# The add-on as a user unpacks it into the simulator's folder: the plug-ins in Modules/, their class files
# in Config/Vessels/ (where the simulator looks first), the meshes in Meshes/, the demo in Scenarios/Teski/.

# teski_install_addon(MODULES target...): installs the plug-in targets and the add-on's data.
function(teski_install_addon)
  cmake_parse_arguments(A "" "" "MODULES" ${ARGN})
  install(TARGETS ${A_MODULES} LIBRARY DESTINATION Modules RUNTIME DESTINATION Modules)
  set(data ${PROJECT_SOURCE_DIR}/addon)
  install(DIRECTORY ${data}/Config/Vessels/ DESTINATION Config/Vessels FILES_MATCHING PATTERN "*.cfg")
  install(DIRECTORY ${data}/Meshes/ DESTINATION Meshes FILES_MATCHING PATTERN "*.msh")
  install(DIRECTORY ${data}/Scenarios/Teski/ DESTINATION Scenarios/Teski FILES_MATCHING PATTERN "*.scn")
endfunction()
