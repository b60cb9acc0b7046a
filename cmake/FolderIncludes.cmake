# drovan_folder_includes(<target> <folder>)
#
# Lets <target>, and every target that links it, include "<folder>/..." and
# no other folder of the source tree. The include path is a folder of the
# build tree that holds one link, named <folder>, to the source folder; so a
# library reaches exactly the folders of the libraries it links, and an
# include that runs against the layering does not compile.
function(drovan_folder_includes target folder)
  set(view ${CMAKE_BINARY_DIR}/include-views/${folder})
  if(NOT IS_SYMLINK ${view}/${folder})
    file(MAKE_DIRECTORY ${view})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${view})
  else()
    target_include_directories(${target} PUBLIC ${view})
  endif()
endfunction()
