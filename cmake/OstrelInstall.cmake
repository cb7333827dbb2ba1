# What `cmake --install` puts beside the programs so that the viewer appears in desktop menus:
# its entry and its icon in the shared icon theme (scalable, so every menu size is sharp).
include(GNUInstallDirs)
if(TARGET ostrel)
  install(FILES ${PROJECT_SOURCE_DIR}/app/resources/ostrel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/app/resources/ostrel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
