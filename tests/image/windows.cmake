# The update window (GUI target `image`); the launch goes through the main window's
# program runner, which the tests replace.
if(TARGET image AND TARGET shell AND TARGET platform_net)
  configurator_test(NAME image_window_tests SOURCES UBootTest.cpp
                    LIBS image shell platform_net platform_xml platform_grids platform_testing)
endif()
