# cmake --install lays out the same runnable tree as the build's application
# folder (executable, both libraries, skins/Default), plus a desktop entry
# and an icon for the desktop's application menu.
include(GNUInstallDirs)
install(TARGETS drovan tempik xaudio RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skins/Default/ DESTINATION skins/Default PATTERN CMakeLists.txt EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/app/resources/drovan.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/app/resources/drovan.svg DESTINATION share/icons/hicolor/scalable/apps)
