# The chart view once more on a high-density screen: every logical pixel is two device
# pixels, so the cached picture and the mouse read-out are checked at that ratio. (QTest's
# synthetic mouse moves are off by a pixel at this ratio, so reportsMouse is left out.)
if(TEST tst_PolarGraphView)
    add_test(NAME tst_PolarGraphView_scale2
             COMMAND tst_PolarGraphView showsTheChartsPicture followsRefreshAndDefaults
                     pictureAtScreenRatio)
    set_tests_properties(tst_PolarGraphView_scale2 PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_ASSUME_STDERR_HAS_CONSOLE=1;QT_SCALE_FACTOR=2"
        TIMEOUT 300)
endif()
