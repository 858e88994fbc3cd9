# Installation and the Debian package. Layout under the prefix:
#   bin/module-design-host, bin/mdrtool
#   lib/module-design/libModuleDesignUIPlugin.so      (found by the host relative to bin/)
#   share/module-design/                               (the default environment, read-only; the
#                                                       host copies it into a per-user program
#                                                       folder under the XDG data home)
#   share/applications, share/icons, share/bash-completion
install(TARGETS module-design-host mdrtool RUNTIME DESTINATION bin)
install(TARGETS ModuleDesignUIPlugin LIBRARY DESTINATION lib/module-design)
install(DIRECTORY ${MD_PROGRAM_DIR}/ DESTINATION share/module-design
    PATTERN "*.so" EXCLUDE
    PATTERN "module-design-host" EXCLUDE
    PATTERN "mdrtool" EXCLUDE
    PATTERN "artgen" EXCLUDE
    PATTERN "temp" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/module-design-host.desktop
    DESTINATION share/applications)
install(FILES ${MD_PROGRAM_DIR}/module-design.png
    DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/tools/mdrtool/mdrtool.bash-completion
    DESTINATION share/bash-completion/completions RENAME mdrtool)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME module-design)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "LED module design developers <module-design@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "LED module design tool: trace an LED screen module and save its driver file")
set(CPACK_PACKAGE_INSTALL_DIRECTORY module-design)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The run-time libraries (Qt with Qt Multimedia, libpng, OpenCV's core, imgproc and calib3d,
# libstdc++) come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt Multimedia's GStreamer backend reads webcams through these plug-ins, which no library links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${MD_PROGRAM_DIR})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
include(CPack)
