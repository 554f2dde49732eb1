// The week view control object: every automation property and method as a C++ member,
// the selection, the scroll state and the layout of the last paint.
#pragma once

#include <cstdint>
#include <string>

#include "AppointmentList.h"
#include "Bars.h"
#include "ControlSite.h"
#include "DateSerial.h"
#include "DisplayProperties.h"
#include "Layout.h"
#include "Selection.h"

namespace weekview {

constexpr int16_t kErrorAppointmentLimit = 32002;
constexpr int16_t kErrorIndexOutOfRange = 32003;

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, ThumbPosition, ThumbTrack, Other };

class WeekViewControl {
public:
    WeekViewControl(ControlSite& site, WeekViewEvents& events);

    // Current date.
    int16_t GetDay() const { return props_.Day; }
    int16_t GetMonth() const { return props_.Month; }
    int16_t GetYear() const { return props_.Year; }
    int32_t GetDate() const { return date_; }
    void SetDay(int16_t value);
    void SetMonth(int16_t value);
    void SetYear(int16_t value);
    void SetDate(int32_t value);
    int16_t FindDay(int32_t lDate);
    int16_t FindMonth(int32_t lDate);
    int16_t FindYear(int32_t lDate);
    void FirstDay(int16_t nDay);

    // Appointments.
    int16_t AddAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                           int32_t lEndDate);
    int16_t AddKeyAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                              int32_t lEndDate, const std::string& cKeyID);
    bool DeleteAppointment(int16_t nIndex);
    bool DeleteKeyAppointment(const std::string& cKeyID);
    int16_t KeyValue(const std::string& cKeyID) const;
    void ClearAppointments();
    bool MoveKeyAppointment(int16_t nStartTime, int32_t lStartDate, int16_t nEndTime,
                            int32_t lEndDate, const std::string& cKeyID);
    int16_t Appointments() const { return list_.Count(); }
    std::string GetAppointKeyID(int16_t nIndex);
    void SetAppointKeyID(int16_t nIndex, const std::string& value);
    int16_t GetAppointTimeStart(int16_t nIndex);
    void SetAppointTimeStart(int16_t nIndex, int16_t value);
    int16_t GetAppointTimeEnd(int16_t nIndex);
    void SetAppointTimeEnd(int16_t nIndex, int16_t value);
    int32_t GetAppointDateStart(int16_t nIndex);
    void SetAppointDateStart(int16_t nIndex, int32_t value);
    int32_t GetAppointDateEnd(int16_t nIndex);
    void SetAppointDateEnd(int16_t nIndex, int32_t value);

    // Display properties: read all at once, set one at a time through its rule.
    const DisplayProperties& Properties() const { return props_; }
    // Enumerations arrive 32 bits wide from automation; a value outside the
    // enumeration is ignored before it is narrowed, so 65536 never becomes 0.
    void SetTimeUnits(int32_t value);
    void SetTimeType(int32_t value);
    void SetBorderType(int32_t value);
    void SetTimeBorder(int32_t value);
    void SetHeaderBorder(int32_t value);
    void SetTimeStart(int16_t value);
    void SetTimeEnd(int16_t value);
    void SetPrimeTimeStart(int16_t value);
    void SetPrimeTimeEnd(int16_t value);
    void SetTimeTextWidth(int16_t value);
    void SetHeightOffset(int16_t value);
    void SetHeaderHeight(int16_t value);
    void SetHeaderYOffset(int16_t value);
    void SetDayColumns(int16_t value);
    void SetDayHeader(const std::string& value);
    void SetMilitaryTime(bool value);
    void SetIncludeAmPm(bool value);
    void SetWeekendPrime(bool value);
    void SetEnabled(bool value);
    // Colours by member: BackColor, ForeColor, BorderColor, ... AppBarColor.
    void SetColor(OleColor DisplayProperties::*member, OleColor value);

    // Persistence: loaded values are stored as read, without the setters' rules,
    // and the closing steps follow. The closing steps also follow every save.
    void LoadProperties(const DisplayProperties& loaded);
    // After every load or save: the view back to the top, the selection cleared
    // (the host sees TimeSelect -1 -1 -1 -1), border insets and `Date` recomputed.
    void FinishPropertyExchange();
    // Every persistent property back to its default, with the closing steps.
    void ResetProperties();

    // Scrolling.
    int16_t GetTopTime() const;
    void SetTopTime(int16_t value);
    void Scroll(ScrollRequest request, int thumbPosition, int requestedPosition);
    int16_t FirstRow() const { return firstRow_; }
    int16_t VisibleRows() const { return visibleRows_; }

    // Painting support: the full paint begins here with the drawing rectangle and
    // the measured text height, and takes its bars and cell map from LayOutBars.
    const Layout& BeginFullPaint(const Rect& bounds, int16_t textHeight);

    // While one is held, paints make a picture for someone else (a container printing
    // or previewing the control): the scroll bar is not touched, the restore-top-time
    // flag stays for the window, and the rows, layout and cell map the window's hit
    // tests use are put back when it ends.
    class PictureScope {
    public:
        explicit PictureScope(WeekViewControl& control);
        ~PictureScope();
        PictureScope(const PictureScope&) = delete;
        PictureScope& operator=(const PictureScope&) = delete;

    private:
        WeekViewControl& control_;
        Layout layout_;
        CellMap cells_;
        int16_t firstRow_;
        int16_t visibleRows_;
    };
    const Layout& LastLayout() const { return layout_; }
    const Insets& BorderInsetsNow() const { return insets_; }
    // The bars of this paint; the list is kept between paints to save its memory.
    const std::vector<Bar>& LayOutBars();
    const CellMap& Cells() const { return cells_; }
    const AppointmentList& List() const { return list_; }

    // Selection.
    const Selection& CurrentSelection() const { return selection_; }
    bool IsSelected(int r, int c) const;
    void ClearSelection();
    // True once when a selection repaint is pending; clears the flag.
    bool TakeSelectionRepaint();
    void SelectionRepainted() { selection_.Painted(); }

    // Mouse, with the window's client rectangle.
    void Press(int x, int y, const Rect& client);
    void Drag(int x, int y, const Rect& client);
    void RightClickAt(int x, int y, const Rect& client);
    int16_t HitColumn(int x, const Rect& client) const;
    int16_t HitRow(int y) const;

    WeekViewEvents& Events() { return events_; }

private:
    void Changed();  // mark modified and repaint
    bool CheckIndex(int16_t nIndex);
    int16_t AddRecord(Appointment record);
    void UpdateAppointment(int16_t nIndex, void (*rule)(Appointment&, int16_t), int16_t value);
    void UpdateAppointmentDate(int16_t nIndex, void (*rule)(Appointment&, int32_t), int32_t value);
    void RecomputeDate();
    bool InBounds(int x, int y, const Rect& client) const;
    bool CellAt(int x, int y, const Rect& client, bool dragging, int16_t& col, int16_t& row) const;
    void AnnounceAndRepaint(const Rect& client);
    int16_t ScrollMaximum() const;
    int16_t RowOfTopTime(int16_t value) const;

    ControlSite& site_;
    WeekViewEvents& events_;
    DisplayProperties props_;
    int32_t date_;
    CivilDate scratch_;
    AppointmentList list_;
    Insets insets_;
    Layout layout_;
    CellMap cells_;
    std::vector<Bar> bars_;
    Selection selection_;
    int16_t firstRow_ = 0;
    int16_t visibleRows_ = 0;
    bool restoreTopTime_ = false;
    int16_t savedTopTime_ = 0;
    bool picture_ = false;  // a PictureScope is held
};

}  // namespace weekview
