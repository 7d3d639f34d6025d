// The window test helpers of tests/main_ui, built into this executable too.
#include "../main_ui/UiTestSupport.cpp"
