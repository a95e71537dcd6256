# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it.
# The program and its settings library go to bin/ and a private library folder (found
# through the program's RUNPATH); the manual where the program looks for it beside bin/.

install(TARGETS Tamvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS paramkit LIBRARY DESTINATION ${TAMVO_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/manual/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tamvo/manual)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/com.tamvo.Tamvo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_SOURCE_DIR}/resources/desktop/com.tamvo.Tamvo.metainfo.xml
               ${CMAKE_BINARY_DIR}/com.tamvo.Tamvo.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/com.tamvo.Tamvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamvo)
set(CPACK_PACKAGE_VENDOR "Tamvo")
set(CPACK_PACKAGE_CONTACT "Tamvo <support@tamvo.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "塔沃种猪管理大师 - herd management for breeding-pig farms")
set(CPACK_PACKAGE_DESCRIPTION
    "Breeding-pig cards, matings, litters and transfers; daily work lists with overdue alerts,\nproduction analyses with charts, printed reports and pig cards, and a mating planner.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# Loaded at run time, so shlibdeps cannot see them: the window system plugins, Qt's Chinese
# texts and a font with Chinese characters.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)
