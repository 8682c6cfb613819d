// The test targets' precompiled header: the project's one and the test frameworks.
#pragma once

#include "project_pch.h"

#include <gtest/gtest.h>

#if __has_include(<QTest>)
#include <QTest>
#endif
