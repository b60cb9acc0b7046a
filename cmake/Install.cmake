# cmake --install lays out the same runnable tree as the build's application folder.
install(TARGETS drovan tempik xaudio RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skins/Default/ DESTINATION skins/Default PATTERN CMakeLists.txt EXCLUDE)
