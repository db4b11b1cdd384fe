# image: the update window (a GUI target beside the image builder).
if(TARGET image_core)
  add_library(image STATIC UBoot.cpp)
  target_include_directories(image PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(image PUBLIC image_core shell_forms)
endif()
