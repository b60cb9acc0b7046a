# cmake --install lays out the same runnable tree as the build's application folder.
install(TARGETS drovan tempik xaudio RUNTIME DESTINATION . LIBRARY DESTINATION .)
