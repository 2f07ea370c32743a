# What `cmake --install` (and `make install PREFIX=...`, and the Debian package) puts where.
#
# The three programs go together into one private folder, lib/ordavel, because each finds its
# companions beside its own file: `erp sample` copies the stand-in runtime libraries from its own
# folder, and the Help menu opens "Documentation/Ordavel User Guide.pdf" below the program's
# folder. bin/ holds relative links to them, so that the installation works below any prefix and
# from any working folder. Everything here names targets and the files the build makes, not the
# folders the sources live in.
set(ORDAVEL_INSTALL_PROGRAMS lib/ordavel)
set(ORDAVEL_INSTALL_DATA share/ordavel)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS ordavel ordavel-batch erp_command a4wapi DsktpEng
        RUNTIME DESTINATION ${ORDAVEL_INSTALL_PROGRAMS}
        LIBRARY DESTINATION ${ORDAVEL_INSTALL_PROGRAMS})

# The links are made in the build tree once and installed as links.
file(RELATIVE_PATH programs_from_bin "/prefix/bin" "/prefix/${ORDAVEL_INSTALL_PROGRAMS}")
foreach(program ordavel ordavel-batch erp)
  set(link "${CMAKE_BINARY_DIR}/install-links/${program}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/install-links")
  file(CREATE_LINK "${programs_from_bin}/${program}" "${link}" SYMBOLIC)
  install(FILES "${link}" DESTINATION bin)
endforeach()

if(TARGET user_guide)
  # The web page is what F1 opens at the section of the tab in hand; its pictures lie beside it.
  install(FILES "${ORDAVEL_USER_GUIDE_PDF}" "${ORDAVEL_USER_GUIDE_HTML}"
          DESTINATION ${ORDAVEL_INSTALL_PROGRAMS}/Documentation)
  install(DIRECTORY "${CMAKE_BINARY_DIR}/Documentation/screenshots"
          DESTINATION ${ORDAVEL_INSTALL_PROGRAMS}/Documentation OPTIONAL)
endif()
if(ORDAVEL_MAN_PAGES)
  install(FILES ${ORDAVEL_MAN_PAGES} DESTINATION share/man/man1)
endif()

get_target_property(icons gui_resources SOURCE_DIR)
install(FILES "${icons}/ordavel.svg" DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES "${icons}/icons/ordavel-${size}.png"
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ordavel.png)
endforeach()

install(FILES "${PROJECT_SOURCE_DIR}/packaging/ordavel.desktop" DESTINATION share/applications)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/completions/ordavel-batch"
              "${PROJECT_SOURCE_DIR}/packaging/completions/erp"
        DESTINATION share/bash-completion/completions)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/" DESTINATION ${ORDAVEL_INSTALL_DATA}/examples
        FILES_MATCHING PATTERN "*.ini")

# An installation into a temporary prefix, run from another folder on a sample site that the
# installed `erp` makes.
ordavel_program_test(installed_programs
         COMMAND bash "${PROJECT_SOURCE_DIR}/packaging/tests/installed-run.sh"
                 "${CMAKE_COMMAND}" "${CMAKE_BINARY_DIR}")

include("${PROJECT_SOURCE_DIR}/packaging/Package.cmake")
