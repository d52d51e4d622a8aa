#pragma once

// A dialog with two labels to convert and one static text that stays plain. Its controls
// are of the test's own static-control class, so the test sees their WM_DESTROY after the
// link label code has undone its changes.
#define TEST_DIALOG 201
#define TEST_FIRST_LABEL 301
#define TEST_SECOND_LABEL 302
#define TEST_PLAIN_TEXT 303
#define TEST_STATIC_CLASS "RecordingStatic"
