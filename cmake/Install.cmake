# `cmake --install` and the CPack archive: the add-on in the simulator's layout (cmake/AddonInstall.cmake),
# and beside it our Linux programs in bin/ (Zielmark's transformation files beside it; bin/.. is the
# simulator's folder, the relative root Zielmark expects) with the host library in lib/.
include(cmake/AddonInstall.cmake)
teski_install_addon(MODULES Teski TeskiWreck)
set_target_properties(Teski TeskiWreck PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")

set(teski_programs orbhost zielmark-cli)
if(TARGET Zielmark)
  list(APPEND teski_programs Zielmark)
endif()
install(TARGETS ${teski_programs} RUNTIME DESTINATION bin)
set_target_properties(${teski_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")
install(TARGETS orbapi LIBRARY DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/zielmark/data/kml2datD.xtr ${PROJECT_SOURCE_DIR}/zielmark/data/kml2datF.xtr
        DESTINATION bin)

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Teski)
set(CPACK_PACKAGE_FILE_NAME Teski-${PROJECT_VERSION}-linux)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF) # unpacked straight into the simulator's folder
include(CPack)
