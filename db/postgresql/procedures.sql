-- The posting procedures zorYkt and vekYkt, PostgreSQL edition.
--
-- The platform layer rewrites the call
--     Exec zorYkt <args>     into     CALL zorYkt(<args>)
--     Exec vekYkt <args>     into     CALL vekYkt(<args>)
-- with the argument text unchanged.  Both hand their arguments to the
-- internal procedure ykt_posting, which holds the one implementation, with
-- the same rules and refusal texts as the SQLite edition (see db/README.md).
--
-- A CALL in autocommit mode is one transaction, and a refusal is RAISE
-- EXCEPTION, which rolls back everything the call wrote.  Several stations
-- may call at once: a member-card debit is one guarded UPDATE under the row
-- lock, and a cancellation locks the posting it reverses and re-checks that
-- it is still standing after any wait, so neither a balance nor a posting can
-- be spent twice.  Money is numeric throughout: no value passes through
-- floating point.

-- Arguments of a posting (arg8 = 0):
--   cardno    card number as an integer        paydate   the host's DATE text
--   guestacct POS_GUEST_ACCT                   amount    amount, a number
--   transid   'cardno,amount,'                 operator  operator text
--   arg7      always 1 (not used)              arg8      0 = posting, 1 = cancellation
--   arg9      always 0 (not used)
-- A cancellation (arg8 = 1) uses transid alone.

-- The first field of a posting identifier: the card number as text.
CREATE FUNCTION ykt_card_text(transid text) RETURNS text
LANGUAGE sql IMMUTABLE
RETURN split_part(transid, ',', 1);

-- Applies a charge (negative: takes one back) to the account of a card: a
-- member card's balance goes down, a hotel account's balance (what it owes)
-- goes up.  Returns false when the account does not exist.
CREATE FUNCTION ykt_charge(accttype integer, card text, acct integer, amount numeric)
RETURNS boolean
LANGUAGE plpgsql AS $$
BEGIN
    CASE accttype
    WHEN 4 THEN UPDATE SavingsCard SET Surplus = Surplus - amount WHERE CardID = card;
    WHEN 1 THEN UPDATE GstProfile SET Balance = Balance + amount WHERE GstProfile.Acct = ykt_charge.acct;
    WHEN 2 THEN UPDATE GrpProfile SET Balance = Balance + amount WHERE GrpProfile.Acct = ykt_charge.acct;
    WHEN 3 THEN UPDATE Tamain SET Balance = Balance + amount WHERE Tamain.Acct = ykt_charge.acct;
    ELSE RETURN false;
    END CASE;
    RETURN FOUND;
END;
$$;

CREATE PROCEDURE ykt_post(cardno integer, paydate text, guestacct integer, amount numeric,
                          transid text, operator text, transcode integer, station integer,
                          procname text)
LANGUAGE plpgsql AS $$
DECLARE
    card text := ykt_card_text(transid);
    bridge YKT_BRIDGE%ROWTYPE;
    member_status integer;
    balance_after numeric(14,2);
BEGIN
    IF amount IS NULL OR amount <> round(amount, 2) THEN
        RAISE EXCEPTION 'one-card posting refused: the amount must be a number with at most 2 decimals';
    END IF;
    IF abs(amount) >= 1000000000000 THEN
        RAISE EXCEPTION 'one-card posting refused: the amount is out of range';
    END IF;
    -- Compared as numbers so that a long run of digits cannot overflow.
    IF cardno IS NULL OR card !~ '^[0-9]+$' OR card::numeric <> cardno THEN
        RAISE EXCEPTION 'one-card posting refused: the posting identifier does not start with the card number';
    END IF;

    SELECT * INTO bridge FROM YKT_BRIDGE WHERE YKT_BRIDGE.CardNo = ykt_post.cardno;
    IF NOT FOUND THEN
        RAISE EXCEPTION 'one-card posting refused: unknown card (no YKT_BRIDGE row)';
    END IF;
    IF bridge.Status IS DISTINCT FROM 1 THEN
        RAISE EXCEPTION 'one-card posting refused: the card is blocked (YKT_BRIDGE status is not 1)';
    END IF;
    IF bridge.AcctType NOT IN (1, 2, 3, 4) THEN
        RAISE EXCEPTION 'one-card posting refused: the card has an unknown account type';
    END IF;

    IF bridge.AcctType = 4 THEN
        -- The row lock is held to the end of the call: no other station can
        -- change this balance between the tests and the debit.
        SELECT Status INTO member_status FROM SavingsCard WHERE CardID = card FOR UPDATE;
        IF NOT FOUND THEN
            RAISE EXCEPTION 'one-card posting refused: the account of the card does not exist';
        END IF;
        IF member_status IS DISTINCT FROM 1 THEN
            RAISE EXCEPTION 'one-card posting refused: the member card is blocked (SavingsCard status is not 1)';
        END IF;
        -- Balance plus quota must cover the amount, with one cent of tolerance.
        UPDATE SavingsCard SET Surplus = Surplus - amount
         WHERE CardID = card AND Surplus + Quota - amount >= -0.01
        RETURNING Surplus INTO balance_after;
        IF NOT FOUND THEN
            RAISE EXCEPTION 'one-card posting refused: insufficient balance (balance plus quota does not cover the amount)';
        END IF;
    ELSIF NOT ykt_charge(bridge.AcctType, card, bridge.Acct, amount) THEN
        RAISE EXCEPTION 'one-card posting refused: the account of the card does not exist';
    END IF;

    INSERT INTO yktpaydetail (TRANS_ID, cancel, CardNo, AcctType, Acct, Amount, PayDate,
                              GuestAcct, Operator, TransCode, Station, ProcName,
                              PostTime, BalanceAfter)
    VALUES (transid, 0, card, bridge.AcctType, bridge.Acct, amount, paydate,
            guestacct, operator, transcode, station, procname,
            localtimestamp(0), balance_after);
END;
$$;

-- The posting cancelled is the most recent standing one with this TRANS_ID.
-- Its own recorded amount is taken back and it is marked cancelled, so a
-- repeated cancellation finds nothing left and is refused.
CREATE PROCEDURE ykt_cancel(transid text)
LANGUAGE plpgsql AS $$
DECLARE
    posting yktpaydetail%ROWTYPE;
BEGIN
    LOOP
        -- A cancellation that waited for another one's lock gets no row when
        -- the other marked it cancelled (the row no longer matches); each
        -- statement here sees what was committed before it started, so the
        -- test below finds an older standing posting, if there is one.
        SELECT * INTO posting FROM yktpaydetail
         WHERE TRANS_ID = transid AND cancel = 0
         ORDER BY PayNo DESC LIMIT 1
           FOR UPDATE;
        EXIT WHEN FOUND;
        IF NOT EXISTS (SELECT 1 FROM yktpaydetail WHERE TRANS_ID = transid AND cancel = 0) THEN
            RAISE EXCEPTION 'one-card cancellation refused: no standing posting with this TRANS_ID';
        END IF;
    END LOOP;

    IF NOT ykt_charge(posting.AcctType, posting.CardNo, posting.Acct, -posting.Amount) THEN
        RAISE EXCEPTION 'one-card cancellation refused: the account of the posting no longer exists';
    END IF;
    UPDATE yktpaydetail SET cancel = 1, CancelTime = localtimestamp(0) WHERE PayNo = posting.PayNo;
END;
$$;

-- An identifier is only the card and the amount, so one identifier can stand
-- for several postings. cancel = 1 says that nothing under it is left to
-- cancel, which is what a cancellation check asks; a cancelled posting whose
-- identifier still has a standing one is marked 2.
CREATE PROCEDURE ykt_mark_cancelled(transid text)
LANGUAGE sql AS $$
    UPDATE yktpaydetail
       SET cancel = CASE WHEN EXISTS (SELECT 1 FROM yktpaydetail s
                                       WHERE s.TRANS_ID = transid AND s.cancel = 0)
                         THEN 2 ELSE 1 END
     WHERE TRANS_ID = transid AND cancel IN (1, 2);
$$;

CREATE PROCEDURE ykt_posting(cardno integer, paydate text, guestacct integer, amount numeric,
                             transid text, operator text, arg8 integer,
                             transcode integer, station integer, procname text)
LANGUAGE plpgsql AS $$
BEGIN
    -- Postings and cancellations of one identifier take turns, so that the
    -- marks above always see every standing posting of it.
    PERFORM pg_advisory_xact_lock(hashtext('yktpaydetail ' || transid));
    IF arg8 = 1 THEN
        CALL ykt_cancel(transid);
    ELSIF arg8 = 0 THEN
        CALL ykt_post(cardno, paydate, guestacct, amount, transid, operator, transcode, station, procname);
    ELSE
        RAISE EXCEPTION 'one-card posting refused: argument 8 must be 0 (posting) or 1 (cancellation)';
    END IF;
    CALL ykt_mark_cancelled(transid);
END;
$$;

CREATE PROCEDURE zorYkt(cardno integer, paydate text, guestacct integer, amount numeric,
                        transid text, operator text, arg7 integer, arg8 integer, arg9 integer)
LANGUAGE plpgsql AS $$
BEGIN
    CALL ykt_posting(cardno, paydate, guestacct, amount, transid, operator, arg8, NULL, NULL, 'zorYkt');
END;
$$;

-- As zorYkt, plus the host's transaction code and the station number.
CREATE PROCEDURE vekYkt(cardno integer, paydate text, guestacct integer, amount numeric,
                        transid text, operator text, arg7 integer, arg8 integer, arg9 integer,
                        transcode integer, station integer)
LANGUAGE plpgsql AS $$
BEGIN
    CALL ykt_posting(cardno, paydate, guestacct, amount, transid, operator, arg8, transcode, station, 'vekYkt');
END;
$$;
