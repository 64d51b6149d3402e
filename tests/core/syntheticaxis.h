#pragma once

#include "core/tuningaxis.h"

#include <QStringList>

#include <optional>

// A made-up axis for the tuner's tests: a motor with inertia and a lag
// behind a PID position loop, in this test's own arbitrary units, with
// faults that can be set to strike at a given step.
class SyntheticAxis : public kdx::TuningAxis {
public:
    enum class Fault { None, OverLimit, Rings, Grows, NoReply, Cancel, Budget, DeadAfterFault };

    SyntheticAxis();

    kdx::ParamNumbers params{};
    double gainUnit = 1; // how strongly the gains act
    double lagMs = 20;   // motor lag
    Fault fault = Fault::None;
    int faultAtStep = -1;        // the step (0-based) at which the fault strikes
    int faultSteps = 1;          // for how many steps from there (swinging faults)
    bool deadAfterFault = false; // the line stays dead once it has failed
    // Gains that make it swing: P2 above this (0: none), on steps shorter
    // than swingBelowSteps (0: every step), from step swingFromStep on.
    int swingAboveP = 0;
    int swingBelowSteps = 0;
    int swingFromStep = 0;
    // Counts the shaft passes the goal by after every move whatever the
    // gains (a load that springs back): no gains can keep the overshoot
    // below it.
    double bumpCounts = 0;

    // Reads back these first, one each, before the parameters in force (a
    // line that garbles a value).
    QList<kdx::ParamNumbers> misreads;

    // What the tuner did, in order: "W2=150", "S+200", "R" (rest), "X" (stop), "B" (read back).
    QStringList journal;
    int stepsTaken = 0;
    int stopsAfterFault = 0;
    double clockMs = 0;

    kdx::ParamNumbers readBack() override;
    void testWrite(int n, int value) override;
    kdx::StepRecord step(int steps, double windowMs, double limitCounts) override;
    kdx::StepRecord rest(double windowMs) override;
    void stopAndReset() override;
    bool cancelled() override { return m_cancelled; }
    double elapsedMs() override { return clockMs; }

private:
    void failIfDead();
    kdx::StepRecord simulate(int steps, double windowMs);

    bool m_cancelled = false;
    bool m_dead = false;
    bool m_faulted = false;
};
