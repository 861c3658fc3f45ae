<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="xml" encoding="UTF-8"/>
<xsl:define name="content_type" value="text/xml"/>
<Tarn><request name="*" value="{$u}"/></Tarn>
<xsl:template match="/"><slow/></xsl:template>
</xsl:stylesheet>
