// What network the tests run in.
#pragma once

// Whether loopback is the only network interface that is up, so that no
// request can leave this machine (scripts/test runs the tests so).
bool OnlyLoopbackIsUp();
