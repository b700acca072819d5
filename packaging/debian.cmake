# Debian packages (`make package`): one per install component, named as the component, with
# dependencies from dpkg-shlibdeps, from the components each needs and from what is loaded at
# run time. A new package is one entry in TOVI_DEB_PACKAGES and its lines below.
set(TOVI_DEB_PACKAGES libkannada-tovi1 libkannada-tovi-dev tovi)
if(TARGET kelda-vasi)
  list(APPEND TOVI_DEB_PACKAGES kelda-vasi)
endif()
if(TARGET ibus-engine-tovi)
  list(APPEND TOVI_DEB_PACKAGES ibus-tovi)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kannada-tovi)
set(CPACK_PACKAGE_VENDOR "Kannada-Tovi developers")
set(CPACK_PACKAGE_CONTACT "Kannada-Tovi developers <kannada-tovi@packages.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${TOVI_DEB_PACKAGES})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE kannada-tovi)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The programs' own library is found in the build tree; their packages depend on its package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

foreach(package ${TOVI_DEB_PACKAGES})
  string(TOUPPER ${package} P)
  set(CPACK_DEBIAN_${P}_PACKAGE_NAME ${package})
endforeach()

# The summary is the first line of each description; the rest is its long text.
set(CPACK_DEBIAN_LIBKANNADA-TOVI1_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# The ldconfig trigger (CPack also calls ldconfig from postinst and postrm: lintian warns of it).
set(CPACK_DEBIAN_LIBKANNADA-TOVI1_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/libkannada-tovi1/triggers)
set(CPACK_COMPONENT_LIBKANNADA-TOVI1_DESCRIPTION "phonetic Kannada typing and Kannada text conversion - library
Kannada-Tovi reads Latin letter keys phonetically and types the 8-bit glyph
codes of a Kannada glyph font, and converts text between the font's
monolingual and bilingual glyph encodings, ISCII, KSCLP sort keys and
Unicode.
.
This package holds the shared library.")

set(CPACK_DEBIAN_LIBKANNADA-TOVI-DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_LIBKANNADA-TOVI-DEV_DEPENDS libkannada-tovi1)
set(CPACK_COMPONENT_LIBKANNADA-TOVI-DEV_DESCRIPTION "phonetic Kannada typing and Kannada text conversion - development files
Kannada-Tovi reads Latin letter keys phonetically and types the 8-bit glyph
codes of a Kannada glyph font, and converts text between the font's
monolingual and bilingual glyph encodings, ISCII, KSCLP sort keys and
Unicode.
.
This package holds the C headers, the pkg-config file (kannada-tovi) and the
CMake package (find_package(KannadaTovi)).")

set(CPACK_DEBIAN_TOVI_PACKAGE_SECTION text)
set(CPACK_COMPONENT_TOVI_DEPENDS libkannada-tovi1)
set(CPACK_COMPONENT_TOVI_DESCRIPTION "command-line tool to type and convert Kannada text
tovi types Latin keys through the Kannada-Tovi phonetic keyboard engine and
prints the Kannada they make, converts text between the monolingual and
bilingual glyph encodings, ISCII, KSCLP sort keys and Unicode, and sorts
lines in Kannada alphabetical order.")

set(CPACK_DEBIAN_KELDA-VASI_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_KELDA-VASI_DEPENDS libkannada-tovi1)
# Loaded at run time: the Kannada font and Qt's SQLite driver.
set(CPACK_DEBIAN_KELDA-VASI_PACKAGE_DEPENDS "fonts-lohit-knda, libqt6sql6-sqlite")
set(CPACK_COMPONENT_KELDA-VASI_DESCRIPTION "Kannada address book
Kelda Vasi keeps names and addresses typed in Kannada in one SQLite
database, lists them in Kannada alphabetical order and prints address labels
and a general list through a print preview, a printer or a PDF file. Kannada
is typed phonetically on an ordinary keyboard; Scroll Lock switches it on and
off.")

set(CPACK_DEBIAN_IBUS-TOVI_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_IBUS-TOVI_DEPENDS libkannada-tovi1)
set(CPACK_DEBIAN_IBUS-TOVI_PACKAGE_DEPENDS "ibus")
set(CPACK_COMPONENT_IBUS-TOVI_DESCRIPTION "phonetic Kannada input method for IBus
The IBus engine tovi-kannada types Unicode Kannada in every program of the
desktop with the Kannada-Tovi phonetic layout: Latin letter keys are read
phonetically, the syllable being composed is shown underlined and committed
when the syllable ends.")

include(CPack)
