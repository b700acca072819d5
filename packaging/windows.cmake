# The Windows zip (`make windows-package`), one per architecture: bin/ (the DLL, tovi-host.exe),
# lib/ (the import library and a .def naming every export), include/ (the headers), README.txt
# on binding the exports and LICENSE.txt.

# The exported names, one a line: the library's linker .def without its internal symbols.
file(READ ${PROJECT_BINARY_DIR}/library/Kannada-Tovi.def TOVI_EXPORTS_DEF)
string(REGEX REPLACE " = [^\n]*" "" TOVI_EXPORTS_DEF "${TOVI_EXPORTS_DEF}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/Kannada-Tovi.def "${TOVI_EXPORTS_DEF}")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/Kannada-Tovi.def DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT libkannada-tovi-dev)
# The texts with Windows line ends.
foreach(text windows/README.txt:README.txt ${PROJECT_SOURCE_DIR}/LICENSE:LICENSE.txt)
  string(REPLACE ":" ";" text ${text})
  list(GET text 0 from)
  list(GET text 1 to)
  file(READ ${from} content)
  string(REPLACE "\n" "\r\n" content "${content}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${to} "${content}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${from})
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION . COMPONENT libkannada-tovi-dev)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt DESTINATION . COMPONENT libkannada-tovi1)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOVI_WINDOWS_ARCH x86)
else()
  set(TOVI_WINDOWS_ARCH x64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kannada-Tovi)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-${TOVI_WINDOWS_ARCH})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
include(CPack)

