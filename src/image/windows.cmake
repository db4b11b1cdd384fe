# image: the update window (a GUI target beside the image builder). It runs the update
# program through the main window's launcher (target shell, which links this one back:
# CMake repeats the two static libraries on the link line).
if(TARGET image_core)
  add_library(image STATIC UBoot.cpp)
  target_include_directories(image PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(image PUBLIC image_core shell_forms
                              PRIVATE shell platform_net platform_grids platform_xml)
endif()
