# The update window (GUI target `image`).
if(TARGET image)
  configurator_test(NAME image_window_tests SOURCES UBootTest.cpp LIBS image platform_testing)
endif()
