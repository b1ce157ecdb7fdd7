// What Qt reports while it starts, held back until it has: if Qt cannot start, what it says
// (which platforms it has, and that reinstalling the program may help) would mislead.
#pragma once

/**
 * Watches Qt's start from its construction until started(). If Qt stops the program meanwhile
 * (it found no platform plugin that works here), the program ends at once with status 1 and one
 * line that gives the cause Qt reported, in place of Qt's own lines and an abort. After started(),
 * or at the end of the watch, what Qt reported meanwhile goes out as usual.
 * One watch at a time.
 */
class StartWatch
{
public:
    StartWatch();
    ~StartWatch();
    StartWatch(const StartWatch &) = delete;
    StartWatch &operator=(const StartWatch &) = delete;

    /** Qt has started: the watch ends. */
    void started();

private:
    bool m_watching = true;
};
